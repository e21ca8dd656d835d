// The model behind the Dial dialog ("DialDlg"): the phone book's lines as
// the list shows them, the selection, the fields of the entry shown, and
// Append, Change, Delete, Save and Dialing. Lines are kept whole (a 99-byte
// name and a 99-byte number make a line of about 211 bytes); the file's
// 100-byte records cut them when they are saved.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/settings/phone_book_entry.h"
#include "app/settings/settings_files.h"

namespace kesta::shell {

// What the Dial dialog's controls hold: the two edits as typed and the
// selected item of each drop-down list (-1 when a list has none). Items
// follow rateChoices() and kDialDataChoices, kDialStopChoices,
// kDialParityChoices.
struct DialFields {
  std::string name;
  std::string number;
  int rate = -1;
  int data = -1;
  int stop = -1;
  int parity = -1;
  bool operator==(const DialFields&) const = default;
};

// What outlives one opening of the Dial dialog: the entry last shown or
// built (whose rate and settings stand in for a list with no selection),
// the index last selected, and whether a call was asked for.
struct DialSession {
  settings::PhoneBookEntry entry;
  int lastIndex = 0;
  bool dialRequested = false;
};

// Asked after each change of the list ("Do you want to save ?"); true saves.
class SaveQuestion {
 public:
  virtual ~SaveQuestion() = default;
  virtual bool askToSave() = 0;
};

class PhoneBookList {
 public:
  PhoneBookList(const settings::SettingsFiles& files, DialSession& session, SaveQuestion& question)
      : files_(files), session_(session), question_(question) {}

  // Opening the dialog: clears the dial request, loads "\tel\kesta.tel" (no
  // file, no entries), selects the remembered index when it still exists
  // and shows that entry in `fields`.
  void open(DialFields& fields);

  const std::vector<std::string>& lines() const { return lines_; }
  int count() const { return static_cast<int>(lines_.size()); }
  std::optional<int> selection() const { return selection_; }

  // A click on the list: `index` outside the list selects nothing. The
  // selected entry is shown in `fields`.
  void select(std::optional<int> index, DialFields& fields);

  // Shows the selected entry: name and number always, and for a modem entry
  // the rate and settings lists (an unknown value selects nothing). A host
  // entry leaves the lists as they were. Nothing without a selection.
  void showSelected(DialFields& fields);

  // The line for the fields: name and number cut at 99 bytes (at a character
  // boundary), then for a modem entry rate and settings from the lists, a
  // list with nothing selected giving the session's value.
  std::string buildLine(const DialFields& fields);

  // Each returns whether the list changed; a change then asks to save.
  // Append inserts before the selected entry and selects the new one, or
  // adds at the end with nothing selected.
  bool append(const DialFields& fields);
  // Replaces the selected entry; nothing without a selection.
  bool change(const DialFields& fields);
  // Removes the selected entry and selects the same index if it still
  // exists, showing that entry; otherwise nothing is selected.
  bool remove(DialFields& fields);
  // Writes every line, in list order, as the new "\tel\kesta.tel".
  bool save() const;

  // "Dialing" or a double click: with an entry selected, remembers its
  // index, sets the dial request and gives the entry to call.
  std::optional<settings::PhoneBookEntry> dial();
  // "Close": remembers the selected index, 0 when there is none.
  void close();

 private:
  void offerSave();
  // The entry parsed from a line becomes the session's.
  void adopt(settings::PhoneBookEntry entry);

  const settings::SettingsFiles& files_;
  DialSession& session_;
  SaveQuestion& question_;
  std::vector<std::string> lines_;
  std::optional<int> selection_;
};

}  // namespace kesta::shell
