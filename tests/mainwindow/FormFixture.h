// The main window form set up once per test suite on a bare QMainWindow.
#pragma once

#include "mainwindow/ZolvarDlgForm.h"
#include "TestApp.h"

#include <gtest/gtest.h>

#include <QMainWindow>
#include <QString>

class FormFixture : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        testApp();
        window = new QMainWindow;
        ui = new Ui::ZolvarDlgClass;
        ui->setupUi(window);
    }
    static void TearDownTestSuite()
    {
        delete window;
        delete ui;
        window = nullptr;
        ui = nullptr;
    }

    template <class T = QWidget>
    static T* find(const char* name)
    {
        return window->findChild<T*>(QString::fromLatin1(name));
    }

    static inline QMainWindow* window = nullptr;
    static inline Ui::ZolvarDlgClass* ui = nullptr;
};
