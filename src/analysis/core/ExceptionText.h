#pragma once
// What the user is told of a failure: the keyed text for the failures that
// have one (a file that could not be written, one too large to be used, memory
// running out), "Class: message" for any other.
#include <QString>
#include <exception>

namespace tam32 {

QString ExceptionText(const std::exception& E);

}  // namespace tam32
