#include <QApplication>
#include <gtest/gtest.h>

// Widget and screen tests need a QApplication for the whole run; the platform comes from
// QT_QPA_PLATFORM (offscreen, or xcb inside a private Xvfb).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // A desktop's platform theme (gtk3, say) would swap Qt's dialogs for native ones that tests
    // cannot see or drive, and that would wait for ever for a user.
    QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
