#include "fixlines.h"

#include <cstdint>
#include <limits>
#include <utility>

namespace skelvor {

FixLines::FixLines(QByteArray bytes) {
  detail::LineSplitter splitter;
  std::vector<qsizetype> ends;
  const QByteArrayView whole = bytes;
  const auto add = [&](QByteArrayView line) { ends.push_back(line.data() + line.size() - whole.data()); };
  splitter.finish(whole.sliced(splitter.splitBlock(whole, 0, add)), add);
  *this = Builder(std::move(bytes), std::move(ends)).finish(splitter.isUtf8(), true);
}

void FixLines::decode(QByteArrayView bytes, bool utf8, QString& out) {
  out.resize(bytes.size());
  char16_t* const begin = reinterpret_cast<char16_t*>(out.data());
  out.truncate(detail::decodeInto(bytes, utf8, begin) - begin);
}

std::vector<FixLines> FixLines::linesByCode(const QStringList& codes) const {
  // The set numbers each code that these lines can hold; a code named twice makes a group of the first place only.
  detail::CodeSet wanted;
  std::vector<std::size_t> groupOf;
  for (qsizetype i = 0; i < codes.size(); ++i)
    if (const std::optional<QByteArray> bytes = encode(codes.at(i)); bytes && wanted.add(*bytes) == groupOf.size())
      groupOf.push_back(static_cast<std::size_t>(i));
  // The group of each line, or none, found once; the lines are then copied in with the room of each group reserved.
  constexpr std::uint32_t kNone = std::numeric_limits<std::uint32_t>::max();
  std::vector<qsizetype> sizes(static_cast<std::size_t>(codes.size()), 0);
  std::vector<qsizetype> counts(sizes.size(), 0);
  std::vector<std::uint32_t> lineGroup;
  lineGroup.reserve(ends_.size());
  forEachLine([&](QByteArrayView line) {
    const std::optional<QByteArrayView> code = detail::countryField(line);
    const std::optional<std::size_t> found = code ? wanted.find(*code) : std::nullopt;
    if (!found) {
      lineGroup.push_back(kNone);
      return;
    }
    const std::size_t g = groupOf[*found];
    lineGroup.push_back(static_cast<std::uint32_t>(g));
    sizes[g] += line.size() + 1;
    ++counts[g];
  });
  std::vector<Builder> builders(sizes.size());
  for (std::size_t g = 0; g < builders.size(); ++g) builders[g].reserve(sizes[g], counts[g]);
  std::size_t index = 0;
  forEachLine([&](QByteArrayView line) {
    if (const std::uint32_t g = lineGroup[index++]; g != kNone) builders[g].add(line);
  });
  std::vector<FixLines> groups;
  groups.reserve(builders.size());
  for (Builder& builder : builders) groups.push_back(std::move(builder).finish(utf8_, false));
  return groups;
}

std::optional<QByteArray> FixLines::encode(QStringView text) const { return detail::encodeAs(text, utf8_); }

QStringList collectCodes(const FixLines& lines) {
  // Distinct bytes are distinct texts, since either encoding decodes different bytes to different texts.
  detail::CodeSet codes;
  lines.forEachLine([&codes](QByteArrayView line) {
    if (const std::optional<QByteArrayView> code = detail::countryField(line)) codes.add(*code);
  });
  return codes.decoded(lines.isUtf8());
}

namespace detail {

QStringList CodeSet::decoded(bool utf8) const {
  QStringList texts;
  QString text;
  for (const QByteArray& code : codes_) {
    FixLines::decode(code, utf8, text);
    texts.append(text);
  }
  return texts;
}

}  // namespace detail

}  // namespace skelvor
