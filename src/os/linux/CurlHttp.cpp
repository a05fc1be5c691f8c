#include <curl/curl.h>
#include <ifaddrs.h>
#include <net/if.h>

#include <cstdio>
#include <mutex>

#include "os/Http.h"
#include "os/linux/NameCodec.h"

namespace s::os {

namespace {

// The HTTP client on libcurl: one easy handle per download.
class CurlHttp final : public Http {
 public:
  CurlHttp() { curl_global_init(CURL_GLOBAL_DEFAULT); }

  bool connected() override {
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0) return false;
    bool up = false;
    for (const ifaddrs* a = list; a != nullptr && !up; a = a->ifa_next) {
      up = a->ifa_addr != nullptr && (a->ifa_flags & IFF_UP) != 0 &&
           (a->ifa_flags & IFF_RUNNING) != 0 && (a->ifa_flags & IFF_LOOPBACK) == 0;
    }
    ::freeifaddrs(list);
    return up;
  }

  bool download(const std::u16string& url, const std::u16string& path,
                const std::atomic<bool>& cancel) override {
    std::string target;
    std::string address;
    if (!linux_fs::NameCodec::encode(path, target) || !linux_fs::NameCodec::encode(url, address)) {
      return false;
    }
    std::FILE* out = std::fopen(target.c_str(), "wb");
    if (out == nullptr) return false;
    CURL* curl = curl_easy_init();
    bool ok = false;
    if (curl != nullptr) {
      ok = fetch(curl, address, out, cancel);
      curl_easy_cleanup(curl);
    }
    ok = std::fclose(out) == 0 && ok;
    if (!ok) std::remove(target.c_str());
    return ok;
  }

 private:
  static int progress(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
  }

  static bool fetch(CURL* curl, const std::string& url, std::FILE* out,
                    const std::atomic<bool>& cancel) {
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 5L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kLimitMs);
    curl_easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, out);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &CurlHttp::progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, const_cast<std::atomic<bool>*>(&cancel));
    return curl_easy_perform(curl) == CURLE_OK;
  }
};

}  // namespace

Http& platformHttp() {
  // Never destroyed: a download on a worker may still end while the process
  // does.
  static CurlHttp* const instance = new CurlHttp();
  return *instance;
}

}  // namespace s::os
