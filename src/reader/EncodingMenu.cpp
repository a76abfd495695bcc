#include "reader/EncodingMenu.h"

#include <QActionGroup>

EncodingMenu::EncodingMenu(QWidget *parent)
    : QMenu(QStringLiteral("&Encoding"), parent), m_group(new QActionGroup(this))
{
    setObjectName(QStringLiteral("mnuViewEncoding"));
    menuAction()->setObjectName(QStringLiteral("mnuViewEncoding"));
    const auto add = [this](const QString &name, std::optional<TextEncoding> encoding) {
        QAction *item = addAction(name);
        item->setCheckable(true);
        item->setData(encoding ? QVariant(int(*encoding)) : QVariant());
        item->setObjectName(QStringLiteral("mnuViewEncoding_") + QString(name).remove(u' '));
        m_group->addAction(item);
        connect(item, &QAction::triggered, this, [this, encoding] { Q_EMIT chosen(encoding); });
    };
    add(QStringLiteral("Automatic"), std::nullopt);
    QLatin1String script;
    for (const TextCodec::EncodingName &entry : TextCodec::encodings()) {
        if (entry.script != script)
            addSection(entry.script);
        script = entry.script;
        add(entry.name, entry.encoding);
    }
    setCurrent(std::nullopt);
}

void EncodingMenu::setCurrent(std::optional<TextEncoding> encoding)
{
    const QList<QAction *> items = m_group->actions();
    for (QAction *item : items) {
        const QVariant data = item->data();
        item->setChecked(encoding ? data.isValid() && data.toInt() == int(*encoding)
                                  : !data.isValid());
    }
}
