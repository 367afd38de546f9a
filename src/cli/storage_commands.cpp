#include "cli/storage_commands.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/cli_error.h"
#include "storage/storage.h"

namespace orv::cli {

namespace {

// Paths are written with "\" between levels; "/" is accepted on the command line.
std::string StoragePath(std::string sPath) {
  std::replace(sPath.begin(), sPath.end(), '/', '\\');
  return sPath;
}

void Check(bool bOk, const CStgFile& file) {
  if (!bOk) throw CCliError(file.LastError());
}

// Prints every element: a storage as "path\", a stream as "path<TAB>size".
class CListing : public CStgFile {
 protected:
  void OnEnumStg(const std::string& sPrefix, const std::string& sName) override {
    std::cout << sPrefix << sName << "\\\n";
  }
  void OnEnumStream(const std::string& sPrefix, const std::string& sName) override {
    std::cout << sPrefix << sName << '\t' << StreamSize(sPrefix + sName).value_or(0) << '\n';
  }
};

void List(const std::string& sFile) {
  CListing listing;
  Check(listing.OpenStg(sFile, true), listing);
  listing.Enum();
}

void Cat(const std::string& sFile, const std::string& sPath) {
  CStgFile file;
  Check(file.OpenStg(sFile, true), file);
  Check(file.Open(StoragePath(sPath), CStgFile::modeRead), file);
  std::vector<char> block(1 << 16);
  for (size_t n; (n = file.Read(block.data(), block.size())) > 0;)
    std::cout.write(block.data(), static_cast<std::streamsize>(n));
  std::cout.flush();
}

void Put(const std::string& sFile, const std::string& sPath, const std::string& sSource) {
  std::unique_ptr<CFileLock> pLock = CFileSystem::Default().LockForChange(sFile, kChangeLockWait);
  CStorage storage;
  if (std::filesystem::exists(sFile))
    Check(storage.OpenStg(sFile), storage);
  else
    Check(storage.Create(sFile), storage);
  std::string sStreamPath = CStorage::AddFilePath(sSource, StoragePath(sPath));
  // Storages on the way are made as needed, which the attachment store does too.
  size_t nSplit = sStreamPath.find_last_of('\\');
  if (nSplit != std::string::npos && nSplit > 0)
    Check(storage.MkStg(sStreamPath.substr(0, nSplit)), storage);
  Check(storage.AddFile(sSource, sStreamPath), storage);
  storage.CloseStg();
  std::cout << sStreamPath << '\n';
}

void Get(const std::string& sFile, const std::string& sPath, const std::string& sDestination) {
  CStorage storage;
  Check(storage.OpenStg(sFile, true), storage);
  Check(storage.ExtractFile(StoragePath(sPath), sDestination), storage);
}

}  // namespace

void AddStorageCommands(CLI::App& app) {
  CLI::App* storage = app.add_subcommand("storage", "Read and change compound files");
  storage->require_subcommand(1);
  // The argument holders live as long as the program.
  auto args = std::make_shared<std::vector<std::string>>(3);

  CLI::App* ls = storage->add_subcommand("ls", "List every storage and stream with its size");
  ls->add_option("FILE", (*args)[0], "Compound file")->required();
  ls->callback([args] { List((*args)[0]); });

  CLI::App* cat = storage->add_subcommand("cat", "Write a stream's bytes to standard output");
  cat->add_option("FILE", (*args)[0], "Compound file")->required();
  cat->add_option("PATH", (*args)[1], "Stream path, levels separated by \\ or /")->required();
  cat->callback([args] { Cat((*args)[0], (*args)[1]); });

  CLI::App* put = storage->add_subcommand(
      "put", "Store a disk file as a stream (FILE is created when missing); prints the path used");
  put->add_option("FILE", (*args)[0], "Compound file")->required();
  put->add_option("PATH", (*args)[1],
                  "Stream path; \\NAME alone stores the file under NAME with its own file name")
      ->required();
  put->add_option("SRC", (*args)[2], "Disk file to store")->required();
  put->callback([args] { Put((*args)[0], (*args)[1], (*args)[2]); });

  CLI::App* get = storage->add_subcommand("get", "Copy a stream out to a disk file");
  get->add_option("FILE", (*args)[0], "Compound file")->required();
  get->add_option("PATH", (*args)[1], "Stream path")->required();
  get->add_option("DEST", (*args)[2], "Disk file to write")->required();
  get->callback([args] { Get((*args)[0], (*args)[1], (*args)[2]); });
}

}  // namespace orv::cli
