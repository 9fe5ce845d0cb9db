#pragma once
// Tests that read the interface in a given language: the shipped caption
// file written into a private message folder with the locale and character
// set of the test (the files beside the test programs stay as shipped).
#include <gtest/gtest.h>

#include <QFile>
#include <QString>

namespace tam32::test {

inline void WriteMenuMessages(const QString& Folder, const QString& Locale, int Charset) {
    QFile shipped(QStringLiteral(TAM32_BIN_DIR "/menu.msg"));
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QString text = QString::fromUtf8(shipped.readAll());
    text.replace(QStringLiteral("LOCALE=EN"), QStringLiteral("LOCALE=") + Locale);
    text.replace(QStringLiteral("CHARSET=0"), QStringLiteral("CHARSET=%1").arg(Charset));
    QFile file(Folder + QStringLiteral("/menu.msg"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

}  // namespace tam32::test
