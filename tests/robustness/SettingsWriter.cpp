// Writes kalvo.ini over and over, one generation after the other, until it is killed. The crash
// test kills it at random moments and reads what is left.
//
//   settings_writer <file>
//
// Generation g writes Nummer = g mod 30, links = g, oben = -g, gross = g mod 2, into a file that
// also holds a large line of its own, so that every write takes a while.
#include "core/SettingsFile.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: settings_writer <file>\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    for (int g = 1;; ++g) {
        kalvo::SettingsFile settings(path);
        settings.WriteInteger(QStringLiteral("Staat"), QStringLiteral("Nummer"), g % 30);
        settings.WriteInteger(QStringLiteral("Lage"), QStringLiteral("links"), g);
        settings.WriteInteger(QStringLiteral("Lage"), QStringLiteral("oben"), -g);
        settings.WriteInteger(QStringLiteral("Darstellung"), QStringLiteral("gross"), g % 2);
        settings.UpdateFile();
        std::printf("%d\n", g);
        std::fflush(stdout);
    }
}
