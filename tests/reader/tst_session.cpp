#include <QTest>

class tst_session : public QObject
{
    Q_OBJECT
};

QTEST_MAIN(tst_session)
#include "tst_session.moc"
