// Writes the program's icon for installing, from the same drawing as the window's icon:
//   make_icons FOLDER NAME  ->  FOLDER/<n>x<n>/apps/NAME.png for each size, FOLDER/scalable/apps/NAME.svg
#include "app/artwork.h"

#include <QDir>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fputs("usage: make_icons FOLDER NAME\n", stderr);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (const int side : quorvex::artwork::kProgramIconSizes) {
        const QString apps = QStringLiteral("%1x%1/apps").arg(side);
        if (!folder.mkpath(apps)
            || !quorvex::artwork::programIconImage(side).save(folder.filePath(apps + "/" + name + ".png"))) {
            std::fprintf(stderr, "make_icons: cannot write the %dx%d icon\n", side, side);
            return 1;
        }
    }
    QFile svg(folder.filePath(QStringLiteral("scalable/apps/") + name + ".svg"));
    if (!folder.mkpath(QStringLiteral("scalable/apps")) || !svg.open(QIODevice::WriteOnly)
        || svg.write(quorvex::artwork::programIconSvg().toUtf8()) < 0 || !svg.flush()) {
        std::fputs("make_icons: cannot write the scalable icon\n", stderr);
        return 1;
    }
    return 0;
}
