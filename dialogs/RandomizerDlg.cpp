#include "dialogs/RandomizerDlg.h"

#include "editing/Randomizer.h"
#include "mainwindow/Themes.h"

#include <QFont>
#include <QStandardItem>
#include <QStandardItemModel>

RandomizerDlg::RandomizerDlg(QWidget* parent, Qt::WindowFlags flags, int propertyId, float randomness)
    : QDialog(parent, flags)
{
    ui.setupUi(this);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    namespace P = RandomizerProperty;
    const QFont headerFont(QString::fromLatin1(kMenuFontFamily), kMenuFontSize, QFont::Bold, false);
    auto* model = qobject_cast<QStandardItemModel*>(ui.propertyLst->model());
    for (int header : {P::BodyHeader, P::DistanceJointHeader, P::PivotJointHeader, P::PistonJointHeader,
                       P::SpringJointHeader}) {
        ui.propertyLst->setItemData(header, headerFont, Qt::FontRole);
        if (model)
            if (QStandardItem* item = model->item(header))
                item->setEnabled(false);
    }
    ui.propertyLst->setCurrentIndex(propertyId);
    ui.randomnessEt->setValue(100.0 * double(randomness));

    connect(ui.okBtn, &QPushButton::clicked, this, &RandomizerDlg::OnOKBtn);
    connect(ui.cancelBtn, &QToolButton::clicked, this, &RandomizerDlg::OnCancelBtn);
}

RandomizerDlg::~RandomizerDlg() = default;

void RandomizerDlg::OnOKBtn()
{
    propertyId = ui.propertyLst->currentIndex();
    randomness = static_cast<float>(ui.randomnessEt->value() / 100.0);
    close();
}

void RandomizerDlg::OnCancelBtn()
{
    close();
}
