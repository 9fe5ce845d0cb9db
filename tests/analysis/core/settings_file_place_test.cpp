// Where the settings file lives: beside the program when a file can be
// created there, else in the user's configuration folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "analysis/core/SettingsFilePlace.h"
#include "platform/ProgramFolder.h"

using namespace tam32;

namespace {

// XDG_CONFIG_HOME as a test sets it, back as it was afterwards.
class ConfigHome {
public:
    ConfigHome() : FWasSet(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")), FOld(qgetenv("XDG_CONFIG_HOME")) {}
    ~ConfigHome() {
        if (FWasSet)
            qputenv("XDG_CONFIG_HOME", FOld);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

private:
    bool FWasSet;
    QByteArray FOld;
};

}  // namespace

TEST(SettingsFilePlaceTest, TheProgramsFileLiesBesideItAndTheUsersInTheConfigurationFolder) {
    const ConfigHome restore;
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    TSettingsFilePlace place = ProgramSettingsPlace();
    EXPECT_EQ(place.ProgramFile, ProgramFolder() + QStringLiteral("/Options.Ini"));
    EXPECT_EQ(place.UserFile, config.path() + QStringLiteral("/TAM32/Options.Ini"));
    qunsetenv("XDG_CONFIG_HOME");
    place = ProgramSettingsPlace();
    EXPECT_EQ(place.UserFile, QDir::homePath() + QStringLiteral("/.config/TAM32/Options.Ini"));
}

TEST(SettingsFilePlaceTest, AFolderIsWritableWhenAFileCanBeCreatedInIt) {
    QTemporaryDir folder;
    EXPECT_TRUE(CanCreateFileIn(folder.path()));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 0);
    EXPECT_FALSE(CanCreateFileIn(folder.filePath(QStringLiteral("missing"))));
}
