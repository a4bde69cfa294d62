#include "win/files.h"

#include <windows.h>

#include "core/failure.h"
#include "core/messages.h"

namespace dravlink::win {
namespace {

// Writes all of `bytes`; false when the system wrote less (a full disk, a failing device).
bool WriteWhole(HANDLE file, std::string_view bytes, DWORD& error) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(bytes.size() < (1u << 30) ? bytes.size() : (1u << 30));
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
      error = ::GetLastError();
      return false;
    }
    if (written == 0) {
      error = ERROR_DISK_FULL;
      return false;
    }
    bytes.remove_prefix(written);
  }
  return true;
}

// What a replaced file keeps of its attributes.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

std::string TempNameBeside(const std::string& path) {
  return path + ".~" + std::to_string(::GetCurrentProcessId()) + ".tmp";
}

bool PathExists(const std::string& path) {
  return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void SaveInPlace(const std::string& path, std::string_view bytes) {
  UniqueFile file(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) throw Failure(CannotCreateFileMessage(path), ::GetLastError());
  DWORD error = 0;
  if (!WriteWhole(file.Get(), bytes, error)) throw Failure(std::string(kStreamWriteError), error);
}

}  // namespace

void ThrowIoError(unsigned long systemCode) {
  throw Failure(IoMessage(systemCode), systemCode);
}

bool FileExists(const std::string& name) {
  const DWORD attributes = ::GetFileAttributesA(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

InputFile::InputFile(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (!handle_) ThrowIoError(::GetLastError());
}

std::string InputFile::ReadAll() {
  std::string bytes;
  char buffer[64 * 1024];
  for (;;) {
    DWORD got = 0;
    if (!::ReadFile(handle_.Get(), buffer, sizeof buffer, &got, nullptr))
      ThrowIoError(::GetLastError());
    if (got == 0) return bytes;
    bytes.append(buffer, got);
  }
}

OutputFile::OutputFile(const std::string& path)
    : handle_(::CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr)) {
  if (!handle_) ThrowIoError(::GetLastError());
}

void OutputFile::Write(std::string_view bytes) {
  DWORD error = 0;
  if (!WriteWhole(handle_.Get(), bytes, error)) ThrowIoError(error);
}

void OutputFile::Close() {
  if (!handle_) return;
  const bool flushed = ::FlushFileBuffers(handle_.Get());
  const DWORD error = flushed ? 0 : ::GetLastError();
  handle_.Reset();
  if (!flushed) ThrowIoError(error);
}

void SaveFileReplacing(const std::string& path, std::string_view bytes) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  const bool replacing = attributes != INVALID_FILE_ATTRIBUTES;
  if (replacing) {
    // Refused wherever creating it afresh would be refused, before anything is written beside
    // it: a read-only file (Wine running as root would otherwise rename over it), a folder, or
    // a file another program holds without sharing.
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY))
      throw Failure(CannotCreateFileMessage(path), ERROR_ACCESS_DENIED);
    UniqueFile probe(::CreateFileA(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!probe) throw Failure(CannotCreateFileMessage(path), ::GetLastError());
  }

  const std::string temp = TempNameBeside(path);
  UniqueFile file(::CreateFileA(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) {
    // The folder takes no new file: the old way, writing in place, is still better than failing.
    SaveInPlace(path, bytes);
    return;
  }

  DWORD error = 0;
  const bool written = WriteWhole(file.Get(), bytes, error) && ::FlushFileBuffers(file.Get());
  if (!written && error == 0) error = ::GetLastError();
  file.Reset();
  if (!written) {
    ::DeleteFileA(temp.c_str());
    throw Failure(std::string(kStreamWriteError), error);
  }

  if (replacing) {
    // Not every system's ReplaceFile carries the attributes over; the new text takes them first.
    ::SetFileAttributesA(temp.c_str(), attributes & kKeptAttributes);
    if (::ReplaceFileA(path.c_str(), temp.c_str(), nullptr,
                       REPLACEFILE_WRITE_THROUGH | REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                       nullptr))
      return;
    error = ::GetLastError();
  }

  // No file to replace, or ReplaceFile can't serve (a file system without it, or it gave up
  // after moving the original away): a rename over the file still swaps in one step.
  if (PathExists(temp) &&
      ::MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return;
  if (error == 0) error = ::GetLastError();
  // Only where the original is still in place is the new text expendable.
  if (PathExists(path)) ::DeleteFileA(temp.c_str());
  throw Failure(CannotCreateFileMessage(path), error);
}

}  // namespace dravlink::win
