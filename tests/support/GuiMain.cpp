#include "controls/DesignFonts.h"
#include "controls/DesignPalette.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Runs are kept in the data folder: no test writes into the real home's.
    const QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    // Widget tests never need a display; test discovery at build time runs this too.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installDesignFonts();
    // The windows are tested in the colours the program gives them, whatever the desktop's.
    useDesignPalette();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
