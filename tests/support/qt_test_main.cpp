#include <QApplication>
#include <gtest/gtest.h>

// Widget and screen tests need a QApplication for the whole run; the platform comes from
// QT_QPA_PLATFORM (offscreen, or xcb inside a private Xvfb).
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
