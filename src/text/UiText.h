#pragma once
// Look-up of the numbered user-interface texts (captions, status lines, dialog titles).

#include <QString>

inline constexpr int kUiTextCount = 115;

// Names for the entries the code refers to most, so call sites read clearly.
namespace Txt {
inline constexpr int ClosePort = 13;
inline constexpr int OpenPort = 14;
inline constexpr int NoAnswer = 15;
inline constexpr int TitleWarning = 17;
inline constexpr int TitleError = 18;
inline constexpr int FiscalizeQuestion = 20;
inline constexpr int InServiceMode = 21;
inline constexpr int WriteOk = 22;
inline constexpr int NotInServiceMode = 23;
inline constexpr int Writing = 24;
inline constexpr int TitleInfo = 26;
inline constexpr int DataErrorCancelled = 27;
inline constexpr int DataError = 28;
inline constexpr int TimesSuffix = 29;
inline constexpr int TryAgain = 30;
inline constexpr int RemainingChanges = 31;
inline constexpr int NotZeroed = 32;
inline constexpr int WrongModel = 33;
inline constexpr int PleaseWait = 36;
inline constexpr int Read = 98;
inline constexpr int Write = 59;
} // namespace Txt

// Returns the text of entry 0..114; an empty text for any other number.
QString UiText(int entry);
