#include "media/img_cfg.h"

#include <fstream>
#include <sstream>
#include <system_error>

#include "core/atomic_file.h"
#include "media/media_kind.h"

namespace kelvo {
namespace {

std::string Heading(std::string_view stanza) {
  const std::size_t end = stanza.find('\n');
  return std::string(stanza.substr(0, end));
}

bool IsHeading(std::string_view line) { return !line.empty() && line.front() == '['; }

}  // namespace

std::string ImgCfgStanza(const FloppyForm& form, int cylinders, std::uint64_t file_size,
                         const std::filesystem::path& image) {
  std::string tag = image.stem().extension().string();
  if (!tag.empty()) tag.erase(0, 1);
  std::ostringstream s;
  s << '[' << tag << "::" << file_size << "]\n"
    << "cyls = " << cylinders << '\n'
    << "heads = " << kHeads << '\n'
    << "secs = " << form.sectors << '\n'
    << "bps = " << kBlockSize << '\n'
    << "id = 1\n"
    << "mode = mfm\n"
    << "interleave = 1\n"
    << "cskew = 0\n"
    << "hskew = 0\n"
    << "rpm = " << form.rpm << '\n'
    << "rate = " << form.rate_kbps << '\n'
    << "gap3 = " << form.gap3 << '\n'
    << "iam = yes\n"
    << "file-layout = interleaved\n";
  return s.str();
}

std::string MergeImgCfg(std::string_view config, std::string_view stanza) {
  const std::string heading = Heading(stanza);
  std::string out;
  bool replaced = false, skipping = false;
  std::size_t pos = 0;
  while (pos < config.size()) {
    std::size_t end = config.find('\n', pos);
    end = end == std::string_view::npos ? config.size() : end + 1;
    std::string_view line = config.substr(pos, end - pos);
    pos = end;
    std::string_view bare = line.substr(0, line.find_last_not_of("\r\n") + 1);
    if (IsHeading(bare)) {
      skipping = bare == heading;
      if (skipping && !replaced) {
        out += stanza;
        replaced = true;
      }
    }
    if (!skipping) {
      out += line;
      if (line.back() != '\n') out += '\n';
    }
  }
  if (!replaced) {
    if (!out.empty() && (out.size() < 2 || out.compare(out.size() - 2, 2, "\n\n") != 0)) out += '\n';
    out += stanza;
  }
  return out;
}

ErrorCode WriteImgCfgBeside(const std::filesystem::path& image, const FloppyForm& form,
                            int cylinders, std::uint64_t file_size) {
  const std::filesystem::path cfg = image.parent_path() / "IMG.CFG";
  std::string existing;
  std::error_code ec;
  if (std::filesystem::exists(cfg, ec)) {
    std::ifstream in(cfg, std::ios::binary);
    if (!in) return ERR_ACCESS_DENIED;
    existing.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  const std::string text = MergeImgCfg(existing, ImgCfgStanza(form, cylinders, file_size, image));
  return WriteFileAtomically(
      cfg, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

}  // namespace kelvo
