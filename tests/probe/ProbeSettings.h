#pragma once
// What the probe commands that start from the settings share: loading a
// settings file as the options dialog's Load does, "--set Name=Value",
// "--print Name" and comma-separated integer options.
#include <QString>
#include <vector>

namespace tam32::probe {

// The keys that the options dialog's Load reads, each defaulting to the
// current value.
void LoadSettingsFile(const QString& FileName);
// "Name=Value" of a settable probe variable; False when it does not fit.
bool SetVariable(const QString& Assignment);
// Prints "Name = value" (an array row by row, the first row on the "Name =" line).
void PrintVariable(const QString& Name);
// Between Min and Max integers separated by commas, appended to Values.
bool ParseInts(const QString& Text, int Min, int Max, std::vector<int>& Values);

}  // namespace tam32::probe
