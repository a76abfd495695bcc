#include <QTest>

class tst_layout : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_layout)
#include "tst_layout.moc"
