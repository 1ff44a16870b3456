#include <windows.h>

#include "platform/file_system.h"

#include "hdmfile/utf8_path.h"

// The file-system services on Windows: paths are wide, the attributes are the file's own, 8-bit
// text is in the system's code page (CP_ACP), and the folder lock is a byte-range lock on a lock
// file that vanishes with its last handle.

namespace hextant {
namespace {

namespace fs = std::filesystem;

// `wide` in the code page `codePage`.
std::string Narrow(const std::wstring& wide, UINT codePage) {
  if (wide.empty()) {
    return {};
  }
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(codePage, 0, wide.c_str(), size, nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(codePage, 0, wide.c_str(), size, text.data(), length, nullptr, nullptr);
  return text;
}

// The system's description of a Windows error code, as UTF-8 without the trailing line break.
std::string WindowsErrorText(DWORD error) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  std::wstring text = length > 0 ? std::wstring(buffer, length) : std::wstring();
  LocalFree(buffer);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) {
    text.pop_back();
  }
  return text.empty() ? "Windows error " + std::to_string(error) : Narrow(text, CP_UTF8);
}

FileAttribute AttributeOf(DWORD attributes) {
  if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return FileAttribute::ReadOnly;
  }
  if ((attributes & FILE_ATTRIBUTE_HIDDEN) != 0) {
    return FileAttribute::Hidden;
  }
  if ((attributes & (FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) !=
      0) {
    return FileAttribute::System;
  }
  return (attributes & FILE_ATTRIBUTE_ARCHIVE) != 0 ? FileAttribute::Archive
                                                    : FileAttribute::Unmarked;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return FileIdentity{info.dwVolumeSerialNumber,
                      (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

}  // namespace

std::string SystemText(const fs::path& path) {
  return Narrow(path.native(), CP_ACP);
}

fs::path PathFromText(std::string_view text) {
  return hdm::PathFromUtf8(text);
}

FileAttribute QueryFileAttribute(const fs::path& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const bool notFound = GetLastError() == ERROR_FILE_NOT_FOUND;
    return notFound && FolderOfExists(path) ? FileAttribute::Missing : FileAttribute::Unknown;
  }
  return AttributeOf(attributes);
}

Status CreateEmptyFile(const fs::path& path, FileIdentity* created) {
  const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return Status::Error(ErrorFileAccess, WindowsErrorText(GetLastError()));
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (created != nullptr && GetFileInformationByHandle(file, &info)) {
    *created = IdentityOf(info);
  }
  if (!CloseHandle(file)) {
    return Status::Error(ErrorFileAccess, WindowsErrorText(GetLastError()));
  }
  return Status::Ok();
}

void RemoveEmptyPlaceholder(const fs::path& path, const FileIdentity& created) {
  // Opened for deletion first, so that nobody can put another file under the name between the
  // check and the removal; the deletion is cancelled when the file is not the placeholder.
  const HANDLE file = CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  const bool same = GetFileInformationByHandle(file, &info) && IdentityOf(info) == created &&
                    info.nFileSizeHigh == 0 && info.nFileSizeLow == 0;
  if (!same) {
    FILE_DISPOSITION_INFO keep{FALSE};
    SetFileInformationByHandle(file, FileDispositionInfo, &keep, sizeof keep);
  }
  CloseHandle(file);
}

FolderLock::~FolderLock() {
  if (handle_ != -1) {
    CloseHandle(reinterpret_cast<HANDLE>(handle_));  // closing releases the lock
  }
}

bool FolderLock::TryLock() {
  if (handle_ != -1) {
    return true;
  }
  // A folder handle cannot carry a byte-range lock: a hidden lock file in it does, shared by
  // every writer and removed when the last of them closes it.
  const fs::path lockFile = folder_ / L".hextant-writing.lock";
  const HANDLE file =
      CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return true;
  }
  OVERLAPPED whole{};
  if (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
    const bool held = GetLastError() == ERROR_LOCK_VIOLATION;
    CloseHandle(file);
    return !held;
  }
  handle_ = reinterpret_cast<std::intptr_t>(file);
  return true;
}

}  // namespace hextant
