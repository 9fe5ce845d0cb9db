#pragma once
// What the probe commands that start from the settings share: loading a
// settings file through the options dialog's Load and OK, "--set Name=Value",
// "--print Name" and comma-separated integer options.
#include <QString>
#include <vector>

namespace tam32::probe {

// The settings file through the options dialog's Load and OK; False, with
// the "STATUS:" line of the refusal printed and no setting changed, when OK
// refuses what it holds.
bool LoadSettingsFile(const QString& FileName);
// "Name=Value" of a settable probe variable; False when it does not fit.
bool SetVariable(const QString& Assignment);
// Prints "Name = value" (an array row by row, the first row on the "Name =" line).
void PrintVariable(const QString& Name);
// Between Min and Max integers separated by commas, appended to Values.
bool ParseInts(const QString& Text, int Min, int Max, std::vector<int>& Values);

}  // namespace tam32::probe
