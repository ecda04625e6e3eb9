#pragma once
// The text of the failure box: the innermost non-empty message of a chain, and a full stop after a
// text whose last UTF-16 code unit is above U+002E.
#include "platform/failure.h"

#include <string>

std::wstring FailureBoxText(const Failure& failure);
