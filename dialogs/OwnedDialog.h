// A modal dialog that the caller owns for the length of its exec(): deleted
// on every way out, an exception included, and not a second time when its Qt
// parent went first. Its answer counts as pending (DialogAnswers) from its
// making until the owner goes, when the caller has taken the answer.
//
//     auto dialog = makeOwnedDialog<AboutDlg>(this, Qt::SplashScreen, theme);
//     dialog->exec();
#pragma once

#include "dialogs/DialogAnswers.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <utility>

struct OwnedDialogDeleter
{
    QPointer<QObject> alive;
    // Made by makeOwnedDialog alone: an owner left empty counts nothing.
    std::shared_ptr<DialogAnswers::Pending> answer;
    void operator()(QObject* dialog) const
    {
        if (alive)
            delete dialog;
    }
};

template <class T>
using OwnedDialog = std::unique_ptr<T, OwnedDialogDeleter>;

template <class T, class... Args>
OwnedDialog<T> makeOwnedDialog(Args&&... args)
{
    T* dialog = new T(std::forward<Args>(args)...);
    return OwnedDialog<T>(dialog, OwnedDialogDeleter{dialog, std::make_shared<DialogAnswers::Pending>()});
}
