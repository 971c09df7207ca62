#include <QApplication>
#include <gtest/gtest.h>

// One QApplication for the run; the platform comes from QT_QPA_PLATFORM.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Native dialogs of a platform theme cannot be driven and would wait for a user.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
