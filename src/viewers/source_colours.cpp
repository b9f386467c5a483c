#include "viewers/source_colours.h"

#include "viewers/source_doc.h"

namespace kelvo {

Rgb SourceClassColour(SourceClass c) {
  switch (c) {
    case SourceClass::kComment:
    case SourceClass::kBlockComment: return Rgb{0, 128, 0};
    case SourceClass::kLabel:
    case SourceClass::kDotCommand: return Rgb{255, 0, 255};
    case SourceClass::kSequence: return Rgb{0, 0, 255};
    default: return Rgb{0, 0, 0};
  }
}

namespace {

void Fill(std::vector<SourceClass>& cls, std::size_t from, std::size_t to, SourceClass c) {
  for (std::size_t i = from; i < to && i < cls.size(); ++i) cls[i] = c;
}

// Block comments: "/*" up to the "/" of a closing "*/" that stands at least
// three characters after the opening "/"; they never continue on the next line.
void MarkBlockComments(std::string_view text, std::vector<SourceClass>& cls) {
  std::size_t from = 0;
  for (;;) {
    const std::size_t open = text.find("/*", from);
    if (open == std::string_view::npos) return;
    std::size_t close = std::string_view::npos;
    for (std::size_t i = open + 3; i < text.size(); ++i) {
      if (text[i] == '/' && text[i - 1] == '*') {
        close = i;
        break;
      }
    }
    if (close == std::string_view::npos) return;
    Fill(cls, open, close + 1, SourceClass::kBlockComment);
    from = close + 1;
  }
}

}  // namespace

std::vector<SourceClass> ClassifySourceLine(std::string_view text, int sourceType) {
  std::vector<SourceClass> cls(text.size(), SourceClass::kNormal);
  const bool patch = sourceType == kSourcePatch;
  const bool command = sourceType == kSourceCommandFile;

  std::size_t commentFrom = text.size();
  if (patch) {
    const std::size_t semi = text.find(';');
    if (semi != std::string_view::npos) commentFrom = semi;
  }
  if (command && !text.empty() && text[0] == '*') commentFrom = 0;
  Fill(cls, commentFrom, text.size(), SourceClass::kComment);

  if (!command) {
    const std::size_t colon = text.find(':');
    if (colon != std::string_view::npos) {
      Fill(cls, 0, std::min(colon + 1, commentFrom), SourceClass::kLabel);
    }
  }
  if (command && !text.empty() && text[0] == '.') {
    Fill(cls, 0, text.size(), SourceClass::kDotCommand);
  }
  if (!patch) MarkBlockComments(text, cls);
  Fill(cls, kSequenceColumn, text.size(), SourceClass::kSequence);
  return cls;
}

std::vector<SourceCell> SourceDisplayCells(std::string_view text, int sourceType) {
  const std::vector<SourceClass> cls = ClassifySourceLine(text, sourceType);
  std::vector<SourceCell> cells;
  cells.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\t') {
      do {
        cells.push_back(SourceCell{' ', cls[i]});
      } while (cells.size() % kSourceTabWidth != 0);
    } else {
      cells.push_back(SourceCell{c == '\n' ? ' ' : c, cls[i]});
    }
  }
  return cells;
}

}  // namespace kelvo
