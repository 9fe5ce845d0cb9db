#pragma once
// A frame under test with its own message folder: the shipped caption file
// with the locale and character set of the test.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/MainForm.h"
#include "common/message_files.h"
#include "common/widget_app_env.h"

namespace tam32::test {

// A white square of 16 pixels and a white bar of 11 on black, saved at Path.
inline QString WriteObjects(const QString& Path) {
    QImage image(40, 30, QImage::Format_RGB888);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.fillRect(4, 4, 4, 4, Qt::white);
    painter.fillRect(25, 15, 11, 1, Qt::white);
    painter.end();
    EXPECT_TRUE(image.save(Path));
    return Path;
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        WriteMenuMessages(Messages.path(), QStringLiteral("EN"), 0);
        ASSERT_TRUE(QFile::copy(QStringLiteral(TAM32_BIN_DIR "/Tam32.msg"), Messages.filePath(QStringLiteral("Tam32.msg"))));
        SetMessageFolder(Messages.path());
        Frame = std::make_unique<TMainForm>();
        Frame->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        Frame.reset();
        SetMessageFolder(QString());
        ResetSettingsToDefaults(QDate(2024, 6, 21));
    }

    // A picture of distinct colours, saved under Name in Files.
    QString WritePicture(const QString& Name, int Width, int Height) {
        QImage image(Width, Height, QImage::Format_RGB888);
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x) image.setPixelColor(x, y, QColor(x * 7 % 256, y * 5 % 256, 90));
        const QString path = Files.filePath(Name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QString Caption(const char* Item) const { return Frame->MenuItem(Item)->text(); }
    // The user chooses the menu item Item.
    void Trigger(const char* Item) {
        Frame->MenuItem(Item)->trigger();
        QCoreApplication::processEvents();
    }
    QString File(const char* Name) const { return Files.filePath(QLatin1String(Name)); }

    // A classifier of two groups on the constant and red, active.
    void SetClassifier() {
        ClassifyDone = true;
        DiscLastGroup = 1;
        ClassTermUsed = {{true, true, false, false}};
        ClassCoefficients[0] = {0.0, -12.5, 3.0};
        ClassCoefficients[1] = {0.0, 0.25, 0.5};
        ClassCoefficients[2] = ClassCoefficients[3] = {0.0, 0.0, 0.0};
        GroupColors[0] = 255;
        GroupColors[1] = 16711680;
    }
    // The next file dialog Dialog shows takes Name.
    void AnswerFile(QFileDialog* Dialog, const QString& Name) {
        QTimer::singleShot(0, [Dialog, Name] {
            Dialog->selectFile(Name);
            static_cast<QDialog*>(Dialog)->accept();
        });
    }

    QTemporaryDir Messages;
    QTemporaryDir Files;
    TRecordingEngineHost Host;
    std::unique_ptr<TMainForm> Frame;
};

}  // namespace tam32::test
