#include "support/local_web_server.h"

#include <chrono>
#include <filesystem>
#include <thread>

namespace orv::test {

CLocalWebServer::CLocalWebServer() {
  const std::string sPortFile = m_dir.File("port");
  const std::string sCommand = "python3 '" ORVELLA_HTTP_SERVER "' '" + sPortFile + "' '" +
                               m_dir.Path().string() + "' 2>/dev/null";
  m_pServer = popen(sCommand.c_str(), "w");  // the server stops when this pipe closes
  for (int n = 0; n < 200 && !std::filesystem::exists(sPortFile); ++n)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  m_sBase = "http://127.0.0.1:" + ReadWholeFile(sPortFile);
}

CLocalWebServer::~CLocalWebServer() {
  if (m_pServer) pclose(m_pServer);
}

}  // namespace orv::test
