#include "reader/ContentsWorker.h"

#include <QMetaObject>

ContentsWorker::ContentsWorker(QObject *parent) : QObject(parent)
{
    m_pool.setMaxThreadCount(1);
}

ContentsWorker::~ContentsWorker()
{
    m_pool.waitForDone();
}

void ContentsWorker::find(const QByteArray &bytes, qsizetype start, TextEncoding encoding,
                          const ChapterMarks &marks)
{
    const quint64 asked = ++m_asked;
    m_pool.start([this, asked, bytes, start, encoding, marks] {
        auto contents = std::make_shared<const BookContents>(bytes, start, encoding, marks);
        QMetaObject::invokeMethod(
            this,
            [this, asked, contents] {
                if (asked == m_asked)
                    Q_EMIT found(contents);
            },
            Qt::QueuedConnection);
    });
}
