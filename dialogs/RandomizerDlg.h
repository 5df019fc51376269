// The randomizer's dialog: which property to scatter (49 entries under five
// bold, disabled section headers) and how strongly, in whole percent. The
// property id is 0 unless OK was pressed; the randomness comes back as a
// fraction (the percentage / 100).
#pragma once

#include "ui_RandomizerDlg.h"

#include <QDialog>

class RandomizerDlg : public QDialog
{
    Q_OBJECT
public:
    // The id and randomness only preset the controls.
    RandomizerDlg(QWidget* parent, Qt::WindowFlags flags, int propertyId, float randomness);
    ~RandomizerDlg() override;

    int getPropertyId() const { return propertyId; }
    float getRandomness() const { return randomness; }

    const Ui_RandomizerDlgClass& form() const { return ui; }

public slots:
    void OnOKBtn();
    void OnCancelBtn();

private:
    Ui_RandomizerDlgClass ui;
    int propertyId = 0;
    float randomness = 0.0f;
};
