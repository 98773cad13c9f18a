// The man pages say every option each program's --help prints.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

namespace {

QString HelpOf(const QString& program) {
    QProcess process;
    process.start(program, {QStringLiteral("--help")});
    EXPECT_TRUE(process.waitForFinished(10000)) << program.toStdString();
    EXPECT_EQ(process.exitCode(), 0) << program.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The page's text as a reader sees it: roff's escaped hyphens are hyphens.
QString ManPage(const char* name) {
    QFile file(QStringLiteral(QUIMB_MAN_DIR "/%1.1").arg(QLatin1String(name)));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), QStringLiteral("-"));
}

TEST(ManPages, NameEveryOptionOfTheirProgram) {
    const struct {
        const char* page;
        const char* program;
    } programs[] = {
        {"quimb", QUIMB_GUI_PATH},
        {"quimb-cli", QUIMB_CLI_PATH},
        {"quimb-devnet", QUIMB_DEVNET_PATH},
    };
    const QRegularExpression option(QStringLiteral("(?<![\\w-])(--[a-z][a-z-]*|-[a-z])\\b"));
    for (const auto& p : programs) {
        const QString help = HelpOf(QString::fromUtf8(p.program));
        const QString page = ManPage(p.page);
        int options = 0;
        for (const auto& match : option.globalMatch(help)) {
            ++options;
            EXPECT_TRUE(page.contains(match.captured(1)))
                << p.page << "(1) does not name " << match.captured(1).toStdString();
        }
        EXPECT_GT(options, 1) << p.program;
    }
}

}  // namespace
