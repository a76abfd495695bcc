#include "reader/frmPageLayout.h"

#include "reader/TextArea.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QSpinBox>

frmPageLayout::frmPageLayout(TextArea &view, const ReadingLayout &layout, QWidget *parent)
    : QDialog(parent), m_view(view), m_before(layout)
{
    setObjectName(QStringLiteral("frmPageLayout"));
    setWindowTitle(QStringLiteral("Page Layout"));
    const auto spinBox = [this](const char *name, int low, int high, int step, int value,
                                const QString &suffix) {
        auto *box = new QSpinBox(this);
        box->setObjectName(QLatin1String(name));
        box->setRange(low, high);
        box->setSingleStep(step);
        box->setValue(value);
        box->setSuffix(suffix);
        connect(box, &QSpinBox::valueChanged, this, &frmPageLayout::showOnPage);
        return box;
    };
    txtSideMargin =
        spinBox("txtSideMargin", ReadingLayout::MinSideMargin, ReadingLayout::MaxSideMargin, 10,
                layout.sideMargin, QStringLiteral(" px"));
    txtLineSpacing =
        spinBox("txtLineSpacing", ReadingLayout::MinLineSpacing, ReadingLayout::MaxLineSpacing, 10,
                layout.lineSpacing, QStringLiteral(" %"));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("&Side margin:"), txtSideMargin);
    form->addRow(QStringLiteral("&Line spacing:"), txtLineSpacing);
    form->addRow(buttons);
    form->setSizeConstraint(QLayout::SetFixedSize);
}

ReadingLayout frmPageLayout::layout() const
{
    ReadingLayout chosen = m_before;
    chosen.sideMargin = txtSideMargin->value();
    chosen.lineSpacing = txtLineSpacing->value();
    return chosen;
}

void frmPageLayout::reject()
{
    m_view.setPageLayout(m_before.sideMargin, m_before.lineSpacing);
    QDialog::reject();
}

void frmPageLayout::showOnPage()
{
    m_view.setPageLayout(txtSideMargin->value(), txtLineSpacing->value());
}
