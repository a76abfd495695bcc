#include <QTest>

class tst_filepanel : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_filepanel)
#include "tst_filepanel.moc"
