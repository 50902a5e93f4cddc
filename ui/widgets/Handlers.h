#pragma once
// What every window handler runs inside: the floating-point flags cleared, and a
// failure handed to the window failure sink (a message box in the program).

#include "common/Failure.h"

#include <QString>

#include <functional>

class QWidget;

namespace prurez {

// The application title, also the title of the failure message boxes.
inline constexpr const char* applicationTitle = "Nelineární modelování betonového průřezu";

// Runs a handler; returns true when it ran to its end.
bool guarded(const std::function<void()>& handler);

// Replaces the sink (tests record the messages instead of showing boxes).
void setWindowFailureSink(FailureSink sink);

// Tells the user something that is no failure (a computation stopped on request): an
// information box in the program, the information sink in tests.
void inform(const std::string& message);
void setWindowInformationSink(FailureSink sink);

// The decimal separator of the system locale.
char localeDecimalSeparator();

// The platform's default beep.
void systemBeep();

// Conversions between window texts and core texts.
inline std::string toStd(const QString& text) { return text.toStdString(); }
inline QString toQt(const std::string& text) { return QString::fromStdString(text); }

}  // namespace prurez
