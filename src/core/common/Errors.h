#pragma once

#include <exception>
#include <new>
#include <string>

#include "core/common/KestError.h"

// One factory per error number, so each number always carries its own text.
namespace kest::err {

inline KestError InvalidCall() {
    return {kInvalidCall, "Invalid procedure call or argument"};
}
inline KestError Overflow() {
    return {kOverflow, "Overflow"};
}
inline KestError OutOfMemory() {
    return {kOutOfMemory, "Out of memory"};
}
inline KestError TypeMismatch() {
    return {kConversion, "Type mismatch"};
}
inline KestError InternalError(const std::string& what) {
    return {kInternalError, what};
}
inline KestError NoSuchFile() {
    return {kNoSuchFile, "File not found"};
}
inline KestError DeviceIo() {
    return {kDeviceIo, "Device I/O error"};
}
inline KestError NoSpace() {
    return {kNoSpace, "Disk full"};
}
inline KestError InputPastEnd() {
    return {kInputPastEnd, "Input past end of file"};
}
inline KestError TooManyFiles() {
    return {kTooManyFiles, "Too many files"};
}
inline KestError PermissionDenied() {
    return {kPermissionDenied, "Permission denied"};
}
inline KestError DiskNotReady() {
    return {kDiskNotReady, "Disk not ready"};
}
// The system's reason, when there is one, follows in brackets.
inline KestError PathFileAccess(const std::string& reason = {}) {
    return {kPathFileAccess,
            "Path/File access error" + (reason.empty() ? reason : " (" + reason + ")")};
}
inline KestError PathNotFound() {
    return {kPathNotFound, "Path not found"};
}
inline KestError ObjectNotSet() {
    return {kObjectNotSet, "Object variable not set"};
}

// The catalog engine's errors.
inline KestError EngineFailure(const std::string& message) {
    return {kEngineError, message};
}
inline KestError TableExists(const std::string& table) {
    return {kTableExists, "Table '" + table + "' already exists."};
}
inline KestError FileNotFound(const std::string& path) {
    return {kFileNotFound, "Could not find file '" + path + "'."};
}
inline KestError DiskFull() {
    return {kDiskFull, "Not enough space on disk."};
}
inline KestError ReadOnly() {
    return {kReadOnly, "Can't update.  Database or object is read-only."};
}
inline KestError InvalidPassword() {
    return {kInvalidPassword, "Not a valid password."};
}
inline KestError FileInUse(const std::string& path) {
    return {kFileInUse, "Couldn't use '" + path + "'; file already in use."};
}
inline KestError Corrupt(const std::string& path) {
    return {kCorrupt,
            "Can't open database '" + path + "'.  The file may be damaged or not a database."};
}
inline KestError CancelledByUser() {
    return {kCancelledByUser, "Operation canceled by user."};
}
inline KestError CannotOpen(const std::string& path) {
    return {kCannotOpen, "Couldn't open file '" + path + "'."};
}
inline KestError TooFewParameters(const std::string& message) {
    return {kTooFewParameters, message};
}
inline KestError SyntaxError(const std::string& message) {
    return {kSyntaxError, message};
}
inline KestError TableNotFound(const std::string& message) {
    return {kTableNotFound, message};
}
inline KestError TextAfterStatement() {
    return {kTextAfterStatement, "Characters found after end of SQL statement."};
}
inline KestError FieldTooSmall() {
    return {kFieldTooSmall,
            "The field is too small to accept the amount of data you attempted to add.  Try "
            "inserting or pasting less data."};
}
inline KestError FieldExists() {
    return {kFieldExists, "Can't define field more than once."};
}
inline KestError DatabaseExists() {
    return {kDatabaseExists, "Database already exists."};
}
inline KestError ItemNotFound() {
    return {kItemNotFound, "Item not found in this collection."};
}
inline KestError FieldInIndex() {
    return {kFieldInIndex,
            "Can't delete a field that is part of an index or is needed by the system."};
}
inline KestError IndexExists() {
    return {kIndexExists, "Index already exists."};
}
inline KestError RequiredNull(const std::string& field) {
    return {kRequiredNull, "The field '" + field +
                               "' cannot contain a Null value because the Required property for "
                               "this field is set to True.  Enter a value in this field."};
}
inline KestError ZeroLengthString(const std::string& field) {
    return {kZeroLengthString, "Field '" + field + "' cannot be a zero-length string."};
}
inline KestError UnrecognizedFormat(const std::string& path) {
    return {kUnrecognizedFormat, "Unrecognized database format '" + path + "'."};
}

// What a command shows for anything its work threw: a KestError as it is,
// exhausted memory as 7, any other failure as 51 with its own text.
inline KestError ToKestError(const std::exception& e) {
    if (const auto* kest = dynamic_cast<const KestError*>(&e)) return *kest;
    if (dynamic_cast<const std::bad_alloc*>(&e)) return OutOfMemory();
    return InternalError(e.what());
}

}  // namespace kest::err
