#pragma once
// The service's routes:
//   GET  /?guid=XXXXXXXX  the alias page the program reads
//   GET  /                a search form;  GET /search?q=...  by GUID or part of a name
//   GET  /health          "ok"
//   POST /sightings       a JSON array of sightings to record
//   /players, /seen, /forget: RecordRoutes.h
//   /names, /links: NameLinks.h
#include "AliasStore.h"
#include "HttpMessage.h"
#include "NameLinks.h"
#include "RecordRoutes.h"

#include <cstdint>
#include <functional>

namespace hh::aliasdb {

class AliasService {
  public:
    // `nowSeconds` dates sightings sent without seen_at.
    AliasService(AliasStore& store, std::function<std::int64_t()> nowSeconds);

    HttpResponse handle(const HttpRequest& request);

    // The program reads at most this many aliases from a page.
    static constexpr std::size_t kMaxAliasesShown = 999;
    static constexpr std::size_t kMaxSearchResults = 200;

  private:
    HttpResponse aliasLookup(const std::string& guid);
    HttpResponse search(const std::string& query);
    HttpResponse recordSightings(const std::string& body);

    AliasStore& store_;
    std::function<std::int64_t()> now_;
    RecordRoutes records_{store_};
    LinkRoutes links_{store_, now_};
};

} // namespace hh::aliasdb
