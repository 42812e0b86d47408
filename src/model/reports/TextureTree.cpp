#include "model/reports/TextureTree.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

void FoldInto(std::string& target, std::string_view text) {
  target.assign(text);
  for (char& c : target) c = Lower(c);
}

// Negative, zero or positive, as a sorts before, with or after b ignoring letter case.
int CompareIgnoringCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const auto ca = static_cast<unsigned char>(Lower(a[i]));
    const auto cb = static_cast<unsigned char>(Lower(b[i]));
    if (ca != cb) return ca < cb ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

// Alphabetical ignoring case; equal texts by their bytes, then the marked node first.
template <typename Node>
bool Before(const Node& a, bool aMarked, const Node& b, bool bMarked) {
  if (const int order = CompareIgnoringCase(a.Text, b.Text); order != 0) return order < 0;
  if (a.Text != b.Text) return a.Text < b.Text;
  return aMarked && !bMarked;
}

// Where a texture's polygons go while the tree is being built (unsorted positions).
struct TSlot {
  int Package;
  int Texture;
};

class TTreeBuilder {
 public:
  TSlot SlotFor(std::string_view texture) {
    // A texture without a package, or one that begins with a dot, is listed whole under
    // "(no package)", so that selecting its node (a match by beginning) finds its polygons.
    const std::size_t dot = texture.find('.');
    if (dot == std::string_view::npos || dot == 0) return NoPackageSlot(texture);
    const std::string_view package = texture.substr(0, dot);
    const std::string_view name = texture.substr(dot + 1);
    FoldInto(key_, package);
    auto [at, added] = packageIndex_.try_emplace(key_, static_cast<int>(tree_.Packages.size()));
    if (added) {
      tree_.Packages.push_back({std::string(package), false, {}});
      textureIndex_.emplace_back();
    }
    return {at->second, TextureIn(at->second, name)};
  }

  TTextureTree Finish() {
    for (TPackageNode& package : tree_.Packages) {
      std::sort(package.Textures.begin(), package.Textures.end(),
                [](const TTextureNode& a, const TTextureNode& b) {
                  return Before(a, a.Undefined, b, b.Undefined);
                });
    }
    std::sort(tree_.Packages.begin(), tree_.Packages.end(), [](const TPackageNode& a, const TPackageNode& b) {
      return Before(a, a.NoPackage, b, b.NoPackage);
    });
    return std::move(tree_);
  }

  TTextureTree& Tree() { return tree_; }

 private:
  TSlot NoPackageSlot(std::string_view texture) {
    if (noPackage_ < 0) {
      noPackage_ = static_cast<int>(tree_.Packages.size());
      tree_.Packages.push_back({kNoPackageText, true, {}});
      textureIndex_.emplace_back();
    }
    if (!texture.empty()) return {noPackage_, TextureIn(noPackage_, texture)};
    std::vector<TTextureNode>& textures = tree_.Packages[static_cast<std::size_t>(noPackage_)].Textures;
    if (undefined_ < 0) {
      undefined_ = static_cast<int>(textures.size());
      textures.push_back({kUndefinedTextureText, true, {}});
    }
    return {noPackage_, undefined_};
  }

  int TextureIn(int package, std::string_view name) {
    FoldInto(key_, name);
    std::vector<TTextureNode>& textures = tree_.Packages[static_cast<std::size_t>(package)].Textures;
    auto [at, added] =
        textureIndex_[static_cast<std::size_t>(package)].try_emplace(key_, static_cast<int>(textures.size()));
    if (added) textures.push_back({std::string(name), false, {}});
    return at->second;
  }

  TTextureTree tree_;
  std::unordered_map<std::string, int> packageIndex_;               // folded package text
  std::vector<std::unordered_map<std::string, int>> textureIndex_;  // folded texture text, per package
  int noPackage_ = -1;
  int undefined_ = -1;
  std::string key_;
};

// The node of every exact spelling met so far: most polygons share their texture's spelling
// with many others, and one lookup of the whole text finds their node without splitting and
// folding it again. Open addressing over a power-of-two table keeps the lookup to one hash and
// usually one comparison.
class TSpellingCache {
 public:
  TSpellingCache() : entries_(64) {}

  // The slot of the spelling, or nullptr; Add must follow a miss before the next lookup.
  const TSlot* Find(std::string_view text) {
    hash_ = std::hash<std::string_view>{}(text);
    for (at_ = hash_ & (entries_.size() - 1);; at_ = (at_ + 1) & (entries_.size() - 1)) {
      const TEntry& entry = entries_[at_];
      if (!entry.Used) return nullptr;
      if (entry.Hash == hash_ && entry.Text == text) return &entry.Slot;
    }
  }

  void Add(std::string_view text, TSlot slot) {
    entries_[at_] = {text, hash_, slot, true};
    if (++count_ * 2 > entries_.size()) Grow();
  }

 private:
  struct TEntry {
    std::string_view Text;
    std::size_t Hash = 0;
    TSlot Slot{-1, -1};
    bool Used = false;
  };

  void Grow() {
    std::vector<TEntry> old(entries_.size() * 2);
    old.swap(entries_);
    for (const TEntry& entry : old) {
      if (!entry.Used) continue;
      std::size_t at = entry.Hash & (entries_.size() - 1);
      while (entries_[at].Used) at = (at + 1) & (entries_.size() - 1);
      entries_[at] = entry;
    }
  }

  std::vector<TEntry> entries_;
  std::size_t count_ = 0;
  std::size_t hash_ = 0;
  std::size_t at_ = 0;
};

}  // namespace

TTextureTree BuildTextureTree(const TPolyList& polygons) {
  TTreeBuilder builder;
  TSpellingCache seen;
  for (int i = 0; i < polygons.Count(); ++i) {
    const std::string& texture = polygons[i].Texture;
    TSlot slot;
    if (const TSlot* known = seen.Find(texture)) {
      slot = *known;
    } else {
      slot = builder.SlotFor(texture);
      seen.Add(texture, slot);
    }
    builder.Tree()
        .Packages[static_cast<std::size_t>(slot.Package)]
        .Textures[static_cast<std::size_t>(slot.Texture)]
        .Polygons.push_back(i);
  }
  return builder.Finish();
}

std::vector<int> PolygonsByName(const TPolyList& polygons, std::vector<int> indices) {
  std::sort(indices.begin(), indices.end(), [&polygons](int a, int b) {
    const int order = CompareIgnoringCase(polygons[a].Name, polygons[b].Name);
    if (order != 0) return order < 0;
    if (polygons[a].Name != polygons[b].Name) return polygons[a].Name < polygons[b].Name;
    return a < b;
  });
  return indices;
}

void SelectTextureTreeItem(TEditor& editor, const TTextureTree& tree, const TTextureTreeItem& item) {
  Require(item.Package >= 0 && static_cast<std::size_t>(item.Package) < tree.Packages.size(),
          modules::TextureReport, "no such package node");
  const TPackageNode& package = tree.Packages[static_cast<std::size_t>(item.Package)];
  Require(item.Texture < static_cast<int>(package.Textures.size()), modules::TextureReport,
          "no such texture node");
  DoSelectNothing(editor);
  if (item.Texture < 0) {
    DoSelectTexture(editor, package.NoPackage ? std::string() : package.Text + ".*");
    return;
  }
  if (item.Polygon >= 0) {
    DoSelectPoly(editor, item.Polygon, true);
    return;
  }
  const TTextureNode& texture = package.Textures[static_cast<std::size_t>(item.Texture)];
  if (texture.Undefined) {
    DoSelectTexture(editor, std::string());
  } else {
    DoSelectTexture(editor, package.NoPackage ? texture.Text : package.Text + "." + texture.Text);
  }
}

}  // namespace terravel
