#pragma once
// An image window under test: a picture that is also the window's work file
// (a BMP in a private folder), on a recording frame, with the built-in
// settings before and after, and the engine's messages recorded.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <memory>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "common/widget_app_env.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"

namespace tam32::test {

class ImageWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
    }
    void TearDown() override {
        Window.reset();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
    }
    // Saves Picture as Name and shows it in a new window.
    void OpenWindow(const QImage& Picture, const QString& Name) {
        File = Folder.filePath(Name);
        ASSERT_TRUE(Picture.save(File));
        Window = std::make_unique<TLeafImageWindow>(Frame);
        auto picture = std::make_unique<TBitmap>();
        picture->SetImage(Picture);
        picture->SetPixelFormat(TPixelFormat::pf24bit);
        Window->OpenPicture(File, false, std::move(picture));
        Window->SearchSettings();
    }

    QTemporaryDir Folder;
    QString File;
    TRecordingFrame Frame;
    TRecordingEngineHost Host;
    std::unique_ptr<TLeafImageWindow> Window;
};

}  // namespace tam32::test
