#pragma once
// tests/shell/http_server.py on this machine, for as long as the object
// lives: the web site and the WebDAV folder of the web tests.

#include <cstdio>
#include <string>

#include "support/test_support.h"

namespace orv::test {

class CLocalWebServer {
 public:
  CLocalWebServer();
  ~CLocalWebServer();
  CLocalWebServer(const CLocalWebServer&) = delete;
  CLocalWebServer& operator=(const CLocalWebServer&) = delete;

  // "http://127.0.0.1:PORT" followed by sPath.
  std::string Url(const std::string& sPath) const { return m_sBase + sPath; }
  // A file in the server's folder: "answer.html", what was PUT.
  std::string File(const std::string& sName) const { return m_dir.File(sName); }

 private:
  CTempDir m_dir;
  FILE* m_pServer = nullptr;
  std::string m_sBase;
};

}  // namespace orv::test
