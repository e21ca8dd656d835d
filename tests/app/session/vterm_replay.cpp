// libvterm with its screen over a captured stream, as a whole program: the
// peer that kesta-cli replay is measured against. Reads FILE in blocks,
// feeds it in 4096-byte chunks (8-bit mode) and prints the cursor, so the
// work cannot be skipped.
#include <cstdio>
#include <string>

extern "C" {
#include <vterm.h>
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: vterm_replay FILE\n");
    return 2;
  }
  std::FILE* in = std::fopen(argv[1], "rb");
  if (in == nullptr) {
    std::perror(argv[1]);
    return 1;
  }
  VTerm* vt = vterm_new(28, 80);
  vterm_set_utf8(vt, 0);
  VTermScreen* screen = vterm_obtain_screen(vt);
  vterm_screen_reset(screen, 1);
  std::string block(4096, '\0');
  std::size_t got;
  while ((got = std::fread(block.data(), 1, block.size(), in)) > 0) vterm_input_write(vt, block.data(), got);
  std::fclose(in);
  VTermPos cursor;
  vterm_state_get_cursorpos(vterm_obtain_state(vt), &cursor);
  std::printf("cursor: row %d column %d\n", cursor.row, cursor.col);
  vterm_free(vt);
  return 0;
}
