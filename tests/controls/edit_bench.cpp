// The multi-line edit with a 30,000-byte text: a key typed at the start, a
// move down at the end, and the work a full repaint does before drawing
// (finding the visible lines, their selection runs and x positions).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "controls/edit_buffer.h"

namespace {

using kesta::controls::EditBuffer;

// 30,000 bytes: lines of 20 syllables and 20 letters, CR LF after each.
std::string bigText() {
  std::string line;
  for (int i = 0; i < 20; ++i) line += "\x88\x61" "a";
  line += "\r\n";
  std::string text;
  while (text.size() + line.size() <= 30000) text += line;
  return text;
}

void BM_InsertAtStart(benchmark::State& state) {
  EditBuffer b(true);
  b.setText(bigText());
  for (auto _ : state) {
    b.setSelection(0, 0);
    b.typeChar('x');
    b.backspace();
    benchmark::DoNotOptimize(b.length());
  }
}
BENCHMARK(BM_InsertAtStart);

void BM_MoveDownAtTheEnd(benchmark::State& state) {
  EditBuffer b(true);
  b.setText(bigText());
  b.textEnd(false);
  for (auto _ : state) {
    b.moveUp(false);
    b.moveDown(false);
    benchmark::DoNotOptimize(b.caret());
  }
}
BENCHMARK(BM_MoveDownAtTheEnd);

// 25 visible lines at the end of the text (the longest search for the first).
void BM_RepaintLayout(benchmark::State& state) {
  EditBuffer b(true);
  b.setText(bigText());
  const size_t first = b.lineCount() - 25;
  b.setSelection(b.lineIndex(first + 3), b.lineIndex(first + 10) + 7);
  for (auto _ : state) {
    size_t start = b.lineIndex(first);
    int total = 0;
    for (int n = 0; n < 25 && start <= b.length(); ++n) {
      const size_t end = b.lineEndOf(start);
      total += b.xOf(std::clamp(b.selectionStart(), start, end)) + b.xOf(std::clamp(b.selectionEnd(), start, end)) +
               b.lineWidth(start);
      if (end >= b.length()) break;
      start = end + 2;
    }
    benchmark::DoNotOptimize(total);
  }
}
BENCHMARK(BM_RepaintLayout);

}  // namespace
