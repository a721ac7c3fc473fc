// memberpos-initdb: creates a new database file for the program.

#include "data/Database.h"
#include "data/DatabaseInitializer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    bool demo = false;
    bool large = false;
    QString file;
    const QStringList args = app.arguments().mid(1);
    for (const QString &arg : args) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else if (arg == QLatin1String("--large"))
            large = true;
        else if (!arg.startsWith(QLatin1String("--")) && file.isEmpty())
            file = arg;
        else {
            file.clear();
            break;
        }
    }
    if (file.isEmpty()) {
        std::fprintf(stderr, "用法: memberpos-initdb [--demo] [--large] 文件\n"
                             "usage: memberpos-initdb [--demo] [--large] FILE\n");
        return 2;
    }
    QElapsedTimer timer;
    timer.start();
    try {
        DatabaseInitializer::createFile(file, demo, large);
    } catch (const DbError &e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.text()));
        return 1;
    }
    std::printf("已创建数据库 %s (%lld ms)\n", qPrintable(file), timer.elapsed());
    return 0;
}
