#pragma once
// Whole disk files kept as streams of one compound file (the attachment
// store). Every operation records whether it succeeded in Result().

#include <string>

#include "storage/stg_file.h"

namespace orv {

class CStorage : public CStgFile {
 public:
  using CStgFile::CStgFile;

  bool Create(const std::string& sPath);
  bool OpenStg(const std::string& sPath, bool bReadOnly = false);
  bool CloseStg();
  bool Open(const std::string& sStreamPath, unsigned nFlags);
  void Close();

  // Copies a disk file into a stream. A stream path of one backslash and a
  // name ("\7") gets the file's name appended ("\7\a.txt").
  bool AddFile(const std::string& sSourceFile, const std::string& sStreamPath);
  // Copies a stream out to a disk file.
  bool ExtractFile(const std::string& sStreamPath, const std::string& sDestinationFile);

  // The stream path AddFile uses for a source file.
  static std::string AddFilePath(const std::string& sSourceFile, const std::string& sStreamPath);

  bool Result() const { return m_bResult; }
  bool CopyDone() const { return m_bCopyDone; }

 private:
  bool Record(bool bResult) { return m_bResult = bResult; }

  bool m_bResult = false;
  bool m_bCopyDone = false;
};

}  // namespace orv
