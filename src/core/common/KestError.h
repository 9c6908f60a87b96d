#pragma once

#include <stdexcept>
#include <string>

namespace kest {

// An error that ends a command: a Jet-style number and a description. The
// command that owns the error title catches it and shows "number CRLF text".
class KestError : public std::runtime_error {
  public:
    KestError(long number, std::string description)
        : std::runtime_error(description),
          m_number(number),
          m_description(std::move(description)) {}

    long Number() const { return m_number; }
    const std::string& Description() const { return m_description; }

  private:
    long m_number;
    std::string m_description;
};

// The error numbers raised or tested anywhere; core/common/Errors.h has one
// factory per number with its text.
namespace err {
inline constexpr long kInvalidCall = 5;  // "Invalid procedure call or argument"
inline constexpr long kOutOfMemory = 7;
inline constexpr long kInternalError = 51;  // a failure of the program itself
inline constexpr long kNoSuchFile = 53;     // "File not found"
inline constexpr long kDeviceIo = 57;
inline constexpr long kNoSpace = 61;  // "Disk full"
inline constexpr long kInputPastEnd = 62;
inline constexpr long kTooManyFiles = 67;
inline constexpr long kPermissionDenied = 70;
inline constexpr long kDiskNotReady = 71;
inline constexpr long kPathFileAccess = 75;
inline constexpr long kPathNotFound = 76;
inline constexpr long kObjectNotSet = 91;
inline constexpr long kTextAfterStatement = 3142;
inline constexpr long kFieldInIndex = 3280;
inline constexpr long kIndexExists = 3284;
inline constexpr long kFileDialogCancelled = 32755;
inline constexpr long kInvalidPassword = 3031;
inline constexpr long kFileNotFound = 3024;
inline constexpr long kFileInUse = 3045;
inline constexpr long kUnrecognizedFormat = 3343;
inline constexpr long kRequiredNull = 3314;
inline constexpr long kZeroLengthString = 3315;
inline constexpr long kFieldTooSmall = 3163;
inline constexpr long kSyntaxError = 3075;
inline constexpr long kTableNotFound = 3078;
inline constexpr long kTooFewParameters = 3061;
inline constexpr long kDiskFull = 3026;
inline constexpr long kReadOnly = 3027;
inline constexpr long kCorrupt = 3049;
inline constexpr long kCancelledByUser = 3059;
inline constexpr long kCannotOpen = 3051;
inline constexpr long kDatabaseExists = 3204;
inline constexpr long kItemNotFound = 3265;
inline constexpr long kTableExists = 3010;
inline constexpr long kFieldExists = 3191;
inline constexpr long kEngineError = 3000;
inline constexpr long kConversion = 13;  // "Type mismatch"
inline constexpr long kOverflow = 6;     // "Overflow"
inline constexpr long kScanAborted = -2147220727;
}  // namespace err

}  // namespace kest
