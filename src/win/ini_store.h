#pragma once

#include <string>

namespace dravlink::win {

// The program's ini file, kept beside its executable. Every access goes to the file through the
// system's private-profile calls; nothing is cached between accesses.
class IniStore {
 public:
  explicit IniStore(std::string iniFileName) : iniFileName_(std::move(iniFileName)) {}

  // The bare file name, as the current-directory test looks for it.
  const std::string& IniFileName() const { return iniFileName_; }

  // Binds the store to the file in the executable's folder; Close releases it.
  void Open();
  void Close() { path_.clear(); }
  const std::string& FullPath() const { return path_; }

  // Missing file, section or key give `fallback`; at most 2047 bytes come back.
  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& fallback) const;

  // Raises "Unable to write to <path>" when the system can't write the file.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);

 private:
  std::string iniFileName_;
  std::string path_;
};

// Keeps the store open for one access.
class IniSession {
 public:
  explicit IniSession(IniStore& store) : store_(store) { store_.Open(); }
  ~IniSession() { store_.Close(); }
  IniSession(const IniSession&) = delete;
  IniSession& operator=(const IniSession&) = delete;

 private:
  IniStore& store_;
};

}  // namespace dravlink::win
