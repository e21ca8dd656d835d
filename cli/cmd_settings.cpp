// kesta-cli settings: shows the settings files, the phone book and picture
// pairs under a home directory, as the program reads them.
#include <cstdio>
#include <string>

#include "app/settings/auto_response.h"
#include "app/settings/color_settings.h"
#include "app/settings/directory_settings.h"
#include "app/settings/hangul_settings.h"
#include "app/settings/macro_table.h"
#include "app/settings/modem_settings.h"
#include "app/settings/phone_book.h"
#include "app/settings/phone_book_entry.h"
#include "app/settings/picture.h"
#include "app/settings/sound_settings.h"
#include "app/settings/window_size.h"
#include "cli/args.h"
#include "cli/command.h"

namespace {

using namespace kesta::settings;

const char kUsage[] =
    "usage: kesta-cli settings [--home DIR] [show | phonebook | picture STEM]\n"
    "  show        every settings file under DIR\\env, as read (default)\n"
    "  phonebook   the entries of DIR\\tel\\kesta.tel\n"
    "  picture S   the picture pair DIR + S + \".mir\"/\".dat\" (S e.g. \\kesta)\n"
    "  --home DIR  the home directory (default: NULL, as with no profile entry)\n";

// Texts may hold internal-code Hangul or control bytes: show those as \xNN.
std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
      out += static_cast<char>(c);
    } else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out + "\"";
}

template <class R>
bool readOrSayMissing(const SettingsFiles& files, R& record, const char* name) {
  if (readRecord(files, record)) return true;
  std::printf("%s: missing\n", name);
  return false;
}

void showAll(const SettingsFiles& files) {
  std::printf("home: %s\n", quoted(files.homeDirectory()).c_str());
  if (ModemSettings m; readOrSayMissing(files, m, "kesta.mdm"))
    std::printf("kesta.mdm: port %d rate %d data %d parity %d stop %d init %s\n", m.port, m.rate, m.dataBits,
                m.parity, m.stopBits, quoted(m.initialCommand).c_str());
  if (WindowSize s; readOrSayMissing(files, s, "kesta.pos"))
    std::printf("kesta.pos: width %d height %d\n", s.width, s.height);
  if (HangulSettings h; readOrSayMissing(files, h, "kesta.han"))
    std::printf("kesta.han: font %d (%s) code %d (%s, code number %d) keyboard %d\n", h.font,
                std::string(hangulFontFace(h.font)).c_str(), h.code,
                std::string(hangulCodeLabel(h.code, false)).c_str(), h.codeNumber(), h.keyboard);
  if (DirectorySettings d; readOrSayMissing(files, d, "kesta.dir"))
    std::printf("kesta.dir: download %s upload %s capture %s\n", quoted(d.download).c_str(),
                quoted(d.upload).c_str(), quoted(d.capture).c_str());
  if (MacroTable t; readOrSayMissing(files, t, "kesta.mac"))
    for (int i = 0; i < MacroTable::kMacros; ++i)
      std::printf("kesta.mac: macro %d %s\n", i + 1, quoted(t.macros[static_cast<std::size_t>(i)]).c_str());
  if (AutoResponseTable a; readOrSayMissing(files, a, "kesta.aut"))
    for (int r = 0; r < AutoResponseTable::kRows; ++r) {
      const auto& row = a.rows[static_cast<std::size_t>(r)];
      std::printf("kesta.aut: row %d %s reference %s transfer %s\n", r + 1, row.enabled ? "on" : "off",
                  quoted(row.reference).c_str(), quoted(row.transfer).c_str());
    }
  if (VoiceFlag v; readOrSayMissing(files, v, "kesta.voc")) std::printf("kesta.voc: %s\n", v.on ? "on" : "off");
  if (MusicSettings m; readOrSayMissing(files, m, "kesta.mus"))
    std::printf("kesta.mus: %s %s\n", m.on ? "on" : "off", quoted(m.path).c_str());
  if (ColorSettings c; readOrSayMissing(files, c, "kesta.col"))
    std::printf("kesta.col: text 0x%06X background 0x%06X\n", c.text, c.background);
}

void showPhoneBook(const SettingsFiles& files) {
  auto lines = readPhoneBook(files);
  std::printf("%zu entries\n", lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    PhoneBookEntry e = parsePhoneBookLine(lines[i]);
    if (e.isHost()) {
      std::printf("%zu host  %s %s\n", i + 1, quoted(e.name).c_str(), quoted(e.number).c_str());
    } else {
      std::printf("%zu modem %s %s rate %s parity %s data %s stop %s\n", i + 1, quoted(e.name).c_str(),
                  quoted(e.number).c_str(), quoted(e.rate).c_str(), std::string(parityChoiceText(e.parity)).c_str(),
                  bitsChoiceText(e.dataBits).c_str(), bitsChoiceText(e.stopBits).c_str());
    }
  }
}

int showPicture(const SettingsFiles& files, const std::string& stem) {
  Picture p = loadPicture(files, stem);
  if (p.empty()) {
    std::printf("empty picture\n");
    return kesta::cli::kExitFailure;
  }
  std::printf("%d x %d, %u bits, colours %u, image size %u, bits at %zu\n", p.width, p.height, p.bitCount,
              p.colourCount, p.imageSize, p.bitsOffset);
  return kesta::cli::kExitOk;
}

int runSettings(int argc, char** argv) {
  kesta::cli::Args args({"--home"}, {});
  if (!args.parse(argc, argv)) return kesta::cli::usageError("settings", args.error());
  if (args.wantsHelp()) {
    std::fputs(kUsage, stdout);
    return kesta::cli::kExitOk;
  }
  FixedHomeProfile profile;
  if (auto home = args.value("--home")) profile.setHome(*home);
  SettingsFiles files(profile, hostFileStore());

  const auto& pos = args.positional();
  std::string action = pos.empty() ? "show" : pos[0];
  if (action == "show" && pos.size() <= 1) {
    showAll(files);
    return kesta::cli::kExitOk;
  }
  if (action == "phonebook" && pos.size() == 1) {
    showPhoneBook(files);
    return kesta::cli::kExitOk;
  }
  if (action == "picture" && pos.size() == 2) {
    std::string stem = pos[1];
    if (stem.empty() || stem[0] != '\\') stem = "\\" + stem;  // relative paths begin with a backslash
    return showPicture(files, stem);
  }
  return kesta::cli::usageError("settings", "expected show, phonebook or picture STEM (try --help)");
}

}  // namespace

KESTA_CLI_COMMAND("settings", "show the settings files, phone book and picture pairs", runSettings);
