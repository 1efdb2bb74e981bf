// SPDX-License-Identifier: MIT
#include "engine/MappingSuggest.h"

#include <algorithm>
#include <deque>
#include <filesystem>
#include <map>
#include <set>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "platform/FolderIdentity.h"
#include "platform/NativePath.h"
#include "platform/PathRules.h"

namespace quorvella {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A folder name can be common ("Music", "Unknown Artist"); this many of its
// places are enough to find the right one.
constexpr std::size_t kPlacesPerName = 64;

// The components of a location with where each lies in the text.
struct Component {
  std::size_t start;
  std::size_t end;
};

struct Parts {
  PathDialect dialect = PathDialect::Windows;
  std::vector<Component> components;
  // Components that make up the root and cannot be mapped away: a drive,
  // or a server and its share.
  std::size_t rootComponents = 0;
};

bool IsSeparator(PathDialect dialect, char c) {
  return c == '/' || (dialect == PathDialect::Windows && c == '\\');
}

Parts SplitParts(std::string_view location) {
  Parts parts;
  parts.dialect = DialectOf(location);
  std::size_t pos = 0;
  while (pos < location.size()) {
    std::size_t end = pos;
    while (end < location.size() && !IsSeparator(parts.dialect, location[end])) ++end;
    if (end > pos) parts.components.push_back({pos, end});
    pos = end + 1;
  }
  if (parts.dialect == PathDialect::Windows) {
    parts.rootComponents = location.size() >= 2 && location[1] == ':' ? 1 : 2;
  }
  return parts;
}

std::string_view Name(std::string_view location, const Component& c) {
  return location.substr(c.start, c.end - c.start);
}

// The location up to and including its first `count` components.
std::string Prefix(std::string_view location, const Parts& parts, std::size_t count) {
  if (count == 0) return "/";
  std::string text(location.substr(0, parts.components[count - 1].end));
  if (text.size() == 2 && text[1] == ':') text += '\\';
  return text;
}

// The location's components from `first` on, joined with "/".
std::string Tail(std::string_view location, const Parts& parts, std::size_t first) {
  std::string text;
  for (std::size_t i = first; i < parts.components.size(); ++i) {
    if (!text.empty()) text += '/';
    text += Name(location, parts.components[i]);
  }
  return text;
}

// Up to `count` positions spread evenly over `size`.
std::vector<std::size_t> Spread(std::size_t size, std::size_t count) {
  std::vector<std::size_t> picked;
  if (size == 0 || count == 0) return picked;
  const std::size_t n = std::min(size, count);
  for (std::size_t i = 0; i < n; ++i) picked.push_back(i * size / n);
  return picked;
}

struct Place {
  std::string path;
  std::size_t root;  // which search root it lies under
};

// The folders under the roots whose names are wanted, found breadth first
// within the limits.
class FolderIndex {
 public:
  FolderIndex(const std::unordered_set<std::string>& wanted, const SuggestOptions& options,
              Clock::time_point deadline, MappingSuggestions& result)
      : deadline_(deadline), result_(result) {
    struct Pending {
      fs::path path;
      int depth;
      std::size_t root;
    };
    std::deque<Pending> queue;
    for (std::size_t i = 0; i < options.roots.size(); ++i) {
      roots_.push_back(Utf8Path(NativePath(options.roots[i]).lexically_normal()));
      while (roots_.back().size() > 1 && roots_.back().back() == '/') roots_.back().pop_back();
      queue.push_back({NativePath(roots_.back()), 0, i});
    }
    std::set<FolderIdentity> seen;
    while (!queue.empty()) {
      if (OutOfTime()) return;
      Pending folder = std::move(queue.front());
      queue.pop_front();
      // Links are followed, each folder once, so a link to a mounted disk is
      // searched and a loop of links is not.
      const std::optional<FolderIdentity> identity = IdentityOfFolder(Utf8Path(folder.path));
      if (!identity || !seen.insert(*identity).second) continue;
      ++result_.foldersSeen;
      std::error_code error;
      for (fs::directory_iterator it(folder.path, error), end; !error && it != end;
           it.increment(error)) {
        if (OutOfTime()) return;
        const std::string name = Utf8Path(it->path().filename());
        // Hidden folders hold snapshots and trash, never the music itself.
        if (name.empty() || name.front() == '.') continue;
        std::error_code typeError;
        if (!it->is_directory(typeError)) continue;
        if (folder.depth == options.maxDepth) {
          result_.depthLimitReached = true;
          break;
        }
        if (wanted.count(name) != 0) {
          auto& places = index_[name];
          if (places.size() < kPlacesPerName) places.push_back({Utf8Path(it->path()), folder.root});
        }
        queue.push_back({it->path(), folder.depth + 1, folder.root});
      }
    }
  }

  const std::vector<Place>* Places(const std::string& name) const {
    const auto found = index_.find(name);
    return found == index_.end() ? nullptr : &found->second;
  }
  const std::string& Root(std::size_t i) const { return roots_[i]; }

  bool OutOfTime() {
    if (Clock::now() < deadline_) return false;
    result_.timeLimitReached = true;
    return true;
  }

 private:
  Clock::time_point deadline_;
  MappingSuggestions& result_;
  std::vector<std::string> roots_;
  std::unordered_map<std::string, std::vector<Place>> index_;
};

// What one sampled track says: rules that would make it exist.
struct Vote {
  std::string from;
  std::string to;
  friend auto operator<=>(const Vote&, const Vote&) = default;
};

class Suggester {
 public:
  Suggester(const LibraryLocations& library, const LocationMappings& existing,
            const SuggestOptions& options, const PathTest& exists)
      : library_(library), options_(options), exists_(exists) {
    for (const std::string& location : library.paths) {
      if (existing.MatchLocation(location)) continue;
      if (DialectOf(location) == PathDialect::Posix && exists_(location)) continue;
      missing_.push_back(&location);
    }
    result_.missing = static_cast<std::int64_t>(missing_.size());
  }

  MappingSuggestions Run() {
    if (missing_.empty()) return std::move(result_);
    const Clock::time_point deadline = Clock::now() + options_.timeLimit;
    const std::string& musicFolder = library_.musicFolder;
    const bool useMusicFolder = IsMappableFrom(musicFolder);
    const LocationMappings underMusicFolder(std::vector<LocationMapping>{{musicFolder, "/"}});

    // The names to look for: a missing track's first folder below the music
    // folder, and the first folder of its tail anywhere.
    std::unordered_set<std::string> wanted;
    for (const std::string* location : missing_) {
      if (useMusicFolder) {
        if (const auto match = underMusicFolder.MatchLocation(*location)) {
          const std::string_view rest = std::string_view(*location).substr(match->restStart);
          const Parts parts = SplitParts(rest);
          if (parts.components.size() >= 2) wanted.emplace(Name(rest, parts.components.front()));
        }
      }
      const Parts parts = SplitParts(*location);
      const std::size_t first = TailStart(parts);
      if (first + 1 < parts.components.size()) {
        wanted.emplace(Name(*location, parts.components[first]));
      }
    }
    FolderIndex index(wanted, options_, deadline, result_);

    std::vector<const std::string*> left = missing_;
    if (useMusicFolder) TryMusicFolder(index, underMusicFolder, left);
    std::vector<std::string> rest;
    for (const std::string* location : left) rest.push_back(*location);
    for (const MissingGroup& group : GroupByFolder(rest)) {
      if (index.OutOfTime()) break;
      TryGroup(index, group, left);
    }
    return std::move(result_);
  }

 private:
  // The first component of a track's tail: its last two folders and the
  // file, or as many folders as lie below the root.
  static std::size_t TailStart(const Parts& parts) {
    const std::size_t n = parts.components.size();
    return std::max(parts.rootComponents, n >= 3 ? n - 3 : std::size_t{0});
  }

  // A tried rule over the sampled tracks: how many it maps, how many it
  // makes exist.
  std::pair<std::int64_t, std::int64_t> Score(const LocationMapping& rule,
                                              const std::vector<const std::string*>& sample) {
    const LocationMappings mappings(std::vector<LocationMapping>{rule});
    std::int64_t mapped = 0;
    std::int64_t found = 0;
    for (const std::string* location : sample) {
      if (const auto to = mappings.Map(*location)) {
        ++mapped;
        if (exists_(*to)) ++found;
      }
    }
    return {mapped, found};
  }

  bool Propose(const LocationMapping& rule, std::int64_t mapped, std::int64_t found) {
    if (found < std::min<std::int64_t>(2, mapped) || found == 0 || found * 4 < mapped) {
      return false;
    }
    for (const MappingProposal& earlier : result_.proposals) {
      if (LocationMappings(std::vector<LocationMapping>{earlier.rule}).Find(rule.from))
        return false;
    }
    result_.proposals.push_back({rule, mapped, found});
    return true;
  }

  static void Drop(std::vector<const std::string*>& tracks, const std::string& from) {
    const LocationMappings rule(std::vector<LocationMapping>{{from, "/"}});
    std::erase_if(tracks, [&](const std::string* location) {
      return rule.MatchLocation(*location).has_value();
    });
  }

  void TryMusicFolder(FolderIndex& index, const LocationMappings& underMusicFolder,
                      std::vector<const std::string*>& left) {
    std::vector<const std::string*> under;
    for (const std::string* location : left) {
      if (underMusicFolder.MatchLocation(*location)) under.push_back(location);
    }
    std::map<std::string, std::int64_t> votes;
    std::vector<const std::string*> sample;
    for (const std::size_t i : Spread(under.size(), options_.sampleSize)) {
      sample.push_back(under[i]);
      const std::string_view rest =
          std::string_view(*under[i]).substr(underMusicFolder.MatchLocation(*under[i])->restStart);
      const Parts parts = SplitParts(rest);
      if (parts.components.size() < 2) continue;
      const auto* places = index.Places(std::string(Name(rest, parts.components.front())));
      if (places == nullptr) continue;
      const std::string relative = Tail(rest, parts, 0);
      for (const Place& place : *places) {
        if (index.OutOfTime()) return;
        const std::string to = Utf8Path(NativePath(place.path).parent_path());
        if (exists_(to + "/" + relative)) ++votes[to];
      }
    }
    const auto best =
        std::max_element(votes.begin(), votes.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
    if (best == votes.end()) return;
    std::string from = library_.musicFolder;
    while (from.size() > 3 && IsSeparator(DialectOf(from), from.back())) from.pop_back();
    const LocationMapping rule{from, best->first};
    const auto [mapped, found] = Score(rule, sample);
    if (Propose(rule, mapped, found)) Drop(left, rule.from);
  }

  void TryGroup(FolderIndex& index, const MissingGroup& group,
                std::vector<const std::string*>& left) {
    if (!IsMappableFrom(group.folder)) return;
    const LocationMappings underGroup(std::vector<LocationMapping>{{group.folder, "/"}});
    std::vector<const std::string*> members;
    for (const std::string* location : left) {
      if (underGroup.MatchLocation(*location)) members.push_back(location);
    }
    std::vector<const std::string*> sample;
    std::vector<std::set<Vote>> votes;
    for (const std::size_t i : Spread(members.size(), options_.sampleSize)) {
      sample.push_back(members[i]);
      votes.push_back(VotesFor(index, *members[i]));
    }

    std::vector<bool> settled(sample.size(), false);
    for (;;) {
      std::map<Vote, std::int64_t> counts;
      for (std::size_t i = 0; i < sample.size(); ++i) {
        if (settled[i]) continue;
        for (const Vote& vote : votes[i]) ++counts[vote];
      }
      const auto best =
          std::max_element(counts.begin(), counts.end(),
                           [](const auto& a, const auto& b) { return a.second < b.second; });
      if (best == counts.end()) return;
      const LocationMapping rule{best->first.from, best->first.to};
      const auto [mapped, found] = Score(rule, sample);
      if (!Propose(rule, mapped, found)) return;
      const LocationMappings proposed(std::vector<LocationMapping>{rule});
      for (std::size_t i = 0; i < sample.size(); ++i) {
        if (proposed.MatchLocation(*sample[i])) settled[i] = true;
      }
      Drop(left, rule.from);
    }
  }

  // The rules under which a track's tail exists in a folder of the index,
  // each widened as far as both sides go on alike.
  std::set<Vote> VotesFor(FolderIndex& index, const std::string& location) {
    std::set<Vote> votes;
    const Parts parts = SplitParts(location);
    const std::size_t first = TailStart(parts);
    if (first + 1 >= parts.components.size()) return votes;
    const auto* places = index.Places(std::string(Name(location, parts.components[first])));
    if (places == nullptr) return votes;
    const std::string tail = Tail(location, parts, first + 1);
    // A POSIX rule keeps at least one folder: "/" alone would claim every
    // path of the other computer.
    const std::size_t keep = parts.dialect == PathDialect::Posix ? 1 : parts.rootComponents;
    for (const Place& place : *places) {
      if (index.OutOfTime()) break;
      if (!exists_(place.path + "/" + tail)) continue;
      std::size_t count = first;
      fs::path to = NativePath(place.path).parent_path();
      const std::string& root = index.Root(place.root);
      // Names compare exactly, in either dialect: what the rule no longer
      // covers is joined onto `to` as the library spells it.
      while (count > keep && Utf8Path(to).size() > root.size() &&
             Name(location, parts.components[count - 1]) == Utf8Path(to.filename())) {
        --count;
        to = to.parent_path();
      }
      if (count < keep) continue;
      std::string from = Prefix(location, parts, count);
      if (IsMappableFrom(from)) votes.insert({std::move(from), Utf8Path(to)});
    }
    return votes;
  }

  const LibraryLocations& library_;
  const SuggestOptions& options_;
  const PathTest& exists_;
  std::vector<const std::string*> missing_;
  MappingSuggestions result_;
};

}  // namespace

std::vector<std::string> DefaultSearchRoots(const Environment& env) {
  std::string music = MusicFolder(env);
  if (music.empty() && !HomeFolder(env).empty()) music = HomeFolder(env) + "/Music";
  std::vector<std::string> roots;
  for (const std::string& folder :
       {music, std::string("/media"), std::string("/mnt"), std::string("/srv")}) {
    std::error_code error;
    if (!folder.empty() && fs::is_directory(NativePath(folder), error)) roots.push_back(folder);
  }
  return roots;
}

MappingSuggestions SuggestMappings(const LibraryLocations& library,
                                   const LocationMappings& existing, const SuggestOptions& options,
                                   const PathTest& exists) {
  return Suggester(library, existing, options, exists).Run();
}

}  // namespace quorvella
