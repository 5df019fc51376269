#include "separation/PreprocessingDlg.h"

#include "host/AEGP_SuiteHandler.h"
#include "host/HostMemory.h"
#include "host/LayerQueries.h"
#include "separation/LayerSeparation.h"
#include "separation/SeparationSupport.h"
#include "resources/Resources.h"

#include <algorithm>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QStandardItemModel>

PreprocessingDlg::PreprocessingDlg(QWidget* parent, Qt::WindowFlags flags, SPBasicSuite* basicSuite, int pluginId)
    : QDialog(parent, flags)
    , basicSuite_(basicSuite)
    , pluginId_(pluginId)
{
    initZolvarResources();
    ui.setupUi(this);
    connect(ui.separateBtn, &QToolButton::clicked, this, &PreprocessingDlg::OnSeparateBtn);
    connect(ui.skipBtn, &QToolButton::clicked, this, &PreprocessingDlg::OnSkipBtn);
}

PreprocessingDlg::~PreprocessingDlg() = default;

void PreprocessingDlg::setLayerIndicesToSep(std::vector<int> indices, std::vector<SeparationKind> kinds)
{
    layerIndicesToSep_ = std::move(indices);
    kinds_ = std::move(kinds);
    kinds_.resize(layerIndicesToSep_.size(), SeparationKind::None);
}

void PreprocessingDlg::setLayersLeftOut(const QStringList& lines)
{
    ui.leftOutSt->setText(lines.isEmpty() ? QString() : leftOutNote(lines));
    // Many layers left out scroll in a box of their own, so that the list of
    // layers on offer keeps its room.
    ui.leftOutArea->setVisible(!lines.isEmpty());
}

QString PreprocessingDlg::leftOutNote(const QStringList& lines)
{
    return QStringLiteral("Not offered, and left as they are:\n") + lines.join(QLatin1Char('\n'));
}

void PreprocessingDlg::populateLayerList()
{
    auto* model = new QStandardItemModel(0, 2, this);
    auto* number = new QStandardItem(QStringLiteral(" # "));
    number->setToolTip(QStringLiteral("Layer Index"));
    number->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    auto* name = new QStandardItem(QStringLiteral("Layer Name"));
    name->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    model->setHorizontalHeaderItem(0, number);
    model->setHorizontalHeaderItem(1, name);

    AEGP_SuiteHandler suites(basicSuite_);
    AEGP_ItemH item = nullptr;
    AEGP_CompH comp = nullptr;
    A_Err err = GetActiveItemComp(suites, item, comp);
    for (size_t r = 0; !err && r < layerIndicesToSep_.size(); ++r) {
        AEGP_LayerH layer = nullptr;
        AEGP_MemHandle own = nullptr, source = nullptr;
        err = suites.LayerSuite7()->AEGP_GetCompLayerByIndex(comp, layerIndicesToSep_[r], &layer);
        if (!err)
            err = suites.LayerSuite7()->AEGP_GetLayerName(pluginId_, layer, &own, &source);
        QString ownName, sourceName;
        // Both handles are freed whatever fails.
        const A_Err ownErr = TakeUtf16String(suites, own, ownName);
        const A_Err sourceErr = TakeUtf16String(suites, source, sourceName);
        if (!err)
            err = ownErr ? ownErr : sourceErr;
        if (err)
            break;
        auto* numberItem = new QStandardItem(QString::number(layerIndicesToSep_[r] + 1));
        numberItem->setFlags(Qt::ItemIsEnabled);
        auto* nameItem = new QStandardItem(ownName.isEmpty() ? sourceName : ownName);
        nameItem->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        model->appendRow({numberItem, nameItem});
    }

    QAbstractItemModel* old = ui.layersTable->model();
    ui.layersTable->setModel(model);
    if (old && old->parent() == this)
        delete old;
    ui.layersTable->setColumnWidth(0, 30);
    const int rowHeight = fontMetrics().height() + 4;
    for (int r = 0; r < model->rowCount(); ++r)
        ui.layersTable->setRowHeight(r, rowHeight);
}

QModelIndexList PreprocessingDlg::getSelectedRows() const
{
    QModelIndexList rows;
    const QItemSelectionModel* selection = ui.layersTable->selectionModel();
    if (!selection)
        return rows;
    for (const QItemSelectionRange& range : selection->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(ui.layersTable->model()->index(row, 0));
    return rows;
}

void PreprocessingDlg::showShapeProgress(const char* format, int done, int total)
{
    if (done == 0)
        ui.shapeProgressBar->setRange(0, total);
    ui.shapeProgressBar->setValue(done);
    ui.shapeProgressSt->setText(QString::asprintf(format, done, total));
    // Every fifth item the progress repaints; user input waits.
    if (done % 5 == 0)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

A_Err PreprocessingDlg::separateMasks(int layerIndex)
{
    return separateLayerMasks(basicSuite_, pluginId_, layerIndex, [this](int done, int total) {
        showShapeProgress("Mask: %d / %d", done, total);
    });
}

A_Err PreprocessingDlg::separateShapes(int layerIndex)
{
    return separateLayerShapes(basicSuite_, pluginId_, layerIndex, [this](int done, int total) {
        showShapeProgress("Shape: %d / %d", done, total);
    });
}

void PreprocessingDlg::OnSeparateBtn()
{
    if (separating_)
        return;
    std::vector<int> rows;
    for (const QModelIndex& index : getSelectedRows())
        rows.push_back(index.row());
    const std::vector<int> indices = layerIndicesToSeparate(rows, layerIndicesToSep_);
    if (indices.empty()) {
        showSeparationMessage(QStringLiteral("Please select at least one layer in the list, or skip this step."));
        return;
    }

    separating_ = true;
    ui.separateBtn->setEnabled(false);
    ui.skipBtn->setEnabled(false);
    numSelectedRows_ = int(indices.size());
    ui.layerProgressBar->setRange(0, numSelectedRows_);
    ui.layerProgressBar->setValue(0);
    ui.layerProgressSt->setText(QString::asprintf("Layer: 1 / %d", numSelectedRows_));

    // Whatever goes wrong, the user hears of it once, when the run is over.
    SeparationMessageBatch messages;
    AEGP_SuiteHandler suites(basicSuite_);
    int separated = 0;
    bool groupOpen = false;
    try {
        const A_Err err = suites.UtilitySuite5()->AEGP_StartUndoGroup("Zolvar - Shapes Separation");
        groupOpen = !err;
        if (err)
            showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                                  QStringLiteral("The host could not start the undo group \"Zolvar - Shapes "
                                                 "Separation\" (error %1), so nothing was separated.")
                                      .arg(err));
        for (int k = 1; groupOpen && k <= numSelectedRows_; ++k) {
            ui.layerProgressBar->setValue(k);
            ui.layerProgressSt->setText(QString::asprintf("Layer: %d / %d", k, numSelectedRows_));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            A_Err layerErr = A_Err_GENERIC;
            const int index = indices[size_t(k - 1)];
            const auto row = std::find(layerIndicesToSep_.begin(), layerIndicesToSep_.end(), index);
            const SeparationKind kind = dispatchSeparation(
                basicSuite_, pluginId_, index, kinds_[size_t(row - layerIndicesToSep_.begin())],
                [&](int i) { layerErr = separateMasks(i); }, [&](int i) { layerErr = separateShapes(i); });
            if (kind != SeparationKind::None && kind != SeparationKind::UngroupedShapes && !layerErr)
                ++separated;
        }
    } catch (int err) {
        showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                              QStringLiteral("The host could not give one of its suites (error %1), so the "
                                             "separation stopped there: %2 of the %3 layers were separated.")
                                  .arg(err)
                                  .arg(separated)
                                  .arg(numSelectedRows_));
    }
    if (groupOpen) {
        const A_Err closed = suites.UtilitySuite5()->AEGP_EndUndoGroup();
        if (closed)
            showSeparationMessage(QStringLiteral("Error occurred when separating shapes."),
                                  QStringLiteral("The host could not close the undo group \"Zolvar - Shapes "
                                                 "Separation\" (error %1). %2 of the %3 layers were separated and "
                                                 "stay so; taking that back may need more than one undo.")
                                      .arg(closed)
                                      .arg(separated)
                                      .arg(numSelectedRows_));
    }
    messages.flush();
    separating_ = false;
    accept();
}

void PreprocessingDlg::OnSkipBtn() { reject(); }

void PreprocessingDlg::closeEvent(QCloseEvent* event)
{
    if (separating_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void PreprocessingDlg::reject()
{
    if (!separating_)
        QDialog::reject();
}
