#pragma once
// Lets GoogleTest show a QString as its text in failure messages.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& Text, std::ostream* Out) { *Out << '"' << Text.toStdString() << '"'; }
