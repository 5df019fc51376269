// One QApplication for the whole test program, made on first use and kept
// until the process ends.
#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>

#include <cstdlib>

inline QApplication& testApp()
{
    static int argc = 1;
    static char name[] = "zolvar-test";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// The repository root, as the test runner passes it.
inline QString sourceDir()
{
    const char* dir = std::getenv("ZOLVAR_SOURCE_DIR");
    return dir ? QString::fromLocal8Bit(dir) : QString();
}

#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
