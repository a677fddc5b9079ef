#pragma once

#include <QString>

// The help window's text: fixed, part of the window's design.
namespace HelpText {
QString text();
}
