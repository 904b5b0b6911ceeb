#pragma once

#include <QString>

// The local file name of a download address: the last path segment of an "http://" address,
// provided that segment holds a dot before its last character. Any other address gives an
// empty name; the rule never fails. Positions are 16-bit, so an address longer than 32768
// characters also gives an empty name.
QString localFileName(const QString &address);
