#include "hangul/automata_tables.h"

#include "hangul/automata_jamo.h"

namespace kesta::hangul {

namespace {

namespace ini = jamo::ini;
namespace med = jamo::med;
namespace fin = jamo::fin;

// ---- Two-set layout: one key per consonant, initial or final. ----

constexpr KeyJamo kTwoSetInitials[] = {
    {'r', ini::G},  {'R', ini::GG}, {'s', ini::N},  {'e', ini::D},  {'E', ini::DD}, {'f', ini::R},  {'a', ini::M},
    {'q', ini::B},  {'Q', ini::BB}, {'t', ini::S},  {'T', ini::SS}, {'d', ini::NG}, {'w', ini::J},  {'W', ini::JJ},
    {'c', ini::CH}, {'z', ini::K},  {'x', ini::T},  {'v', ini::P},  {'g', ini::H},  {'S', ini::N},  {'F', ini::R},
    {'A', ini::M},  {'D', ini::NG}, {'C', ini::CH}, {'Z', ini::K},  {'X', ini::T},  {'V', ini::P},  {'G', ini::H},
};

constexpr KeyJamo kTwoSetMedials[] = {
    {'k', med::A},   {'o', med::AE}, {'i', med::YA}, {'O', med::YAE}, {'j', med::EO}, {'p', med::E},
    {'u', med::YEO}, {'P', med::YE}, {'h', med::O},  {'y', med::YO},  {'n', med::U},  {'b', med::YU},
    {'m', med::EU},  {'l', med::I},  {'K', med::A},  {'I', med::YA},  {'J', med::EO}, {'U', med::YEO},
    {'H', med::O},   {'Y', med::YO}, {'N', med::U},  {'B', med::YU},  {'M', med::EU}, {'L', med::I},
};

// E, Q and W (ㄸ ㅃ ㅉ) are never finals.
constexpr KeyJamo kTwoSetFinals[] = {
    {'r', fin::G},  {'R', fin::GG}, {'s', fin::N},  {'e', fin::D},  {'f', fin::L},  {'a', fin::M},  {'q', fin::B},
    {'t', fin::S},  {'T', fin::SS}, {'d', fin::NG}, {'w', fin::J},  {'c', fin::CH}, {'z', fin::K},  {'x', fin::T},
    {'v', fin::P},  {'g', fin::H},  {'S', fin::N},  {'F', fin::L},  {'A', fin::M},  {'D', fin::NG}, {'C', fin::CH},
    {'Z', fin::K},  {'X', fin::T},  {'V', fin::P},  {'G', fin::H},
};

constexpr DoubleJamo kTwoSetDoubleInitials[] = {
    {ini::G, 'r', ini::GG}, {ini::D, 'e', ini::DD}, {ini::B, 'q', ini::BB}, {ini::S, 't', ini::SS}, {ini::J, 'w', ini::JJ},
};

constexpr DoubleJamo kTwoSetDoubleMedials[] = {
    {med::O, 'k', med::WA}, {med::O, 'o', med::WAE}, {med::O, 'l', med::OE},  {med::U, 'j', med::WO},
    {med::U, 'p', med::WE}, {med::U, 'l', med::WI},  {med::EU, 'l', med::UI}, {med::O, 'K', med::WA},
    {med::O, 'L', med::OE}, {med::U, 'J', med::WO},  {med::U, 'L', med::WI},  {med::EU, 'L', med::UI},
};

constexpr DoubleJamo kTwoSetDoubleFinals[] = {
    {fin::G, 't', fin::GS}, {fin::N, 'w', fin::NJ}, {fin::N, 'g', fin::NH}, {fin::L, 'r', fin::LG},
    {fin::L, 'a', fin::LM}, {fin::L, 'q', fin::LB}, {fin::L, 't', fin::LS}, {fin::L, 'x', fin::LT},
    {fin::L, 'v', fin::LP}, {fin::L, 'g', fin::LH}, {fin::B, 't', fin::BS}, {fin::N, 'G', fin::NH},
    {fin::L, 'A', fin::LM}, {fin::L, 'X', fin::LT}, {fin::L, 'V', fin::LP}, {fin::L, 'G', fin::LH},
};

// A single final moves whole; a double final leaves its second part.
constexpr JamoPair kTwoSetFinalToInitialRows[] = {
    {fin::G, ini::G},   {fin::GG, ini::GG}, {fin::N, ini::N},   {fin::D, ini::D},   {fin::L, ini::R},
    {fin::M, ini::M},   {fin::B, ini::B},   {fin::S, ini::S},   {fin::SS, ini::SS}, {fin::NG, ini::NG},
    {fin::J, ini::J},   {fin::CH, ini::CH}, {fin::K, ini::K},   {fin::T, ini::T},   {fin::P, ini::P},
    {fin::H, ini::H},   {fin::GS, ini::S},  {fin::NJ, ini::J},  {fin::NH, ini::H},  {fin::LG, ini::G},
    {fin::LM, ini::M},  {fin::LB, ini::B},  {fin::LS, ini::S},  {fin::LT, ini::T},  {fin::LP, ini::P},
    {fin::LH, ini::H},  {fin::BS, ini::S},
};

// ---- Three-set layout: separate keys for initials, medials and finals. ----

constexpr KeyJamo kThreeSetInitials[] = {
    {'k', ini::G},  {'h', ini::N},  {'u', ini::D},  {'y', ini::R},  {'i', ini::M},  {';', ini::B},  {'n', ini::S},
    {'j', ini::NG}, {'l', ini::J},  {'o', ini::CH}, {'0', ini::K},  {'\'', ini::T}, {'p', ini::P},  {'m', ini::H},
};

constexpr KeyJamo kThreeSetMedials[] = {
    {'f', med::A}, {'r', med::AE}, {'6', med::YA}, {'R', med::YAE}, {'t', med::EO}, {'c', med::E},
    {'e', med::YEO}, {'7', med::YE}, {'v', med::O}, {'/', med::O},  {'4', med::YO}, {'b', med::U},
    {'9', med::U}, {'5', med::YU}, {'g', med::EU}, {'8', med::UI},  {'d', med::I},
};

constexpr KeyJamo kThreeSetFinals[] = {
    {'x', fin::G},  {'F', fin::GG}, {'s', fin::N},  {'S', fin::NH}, {'A', fin::D},  {'w', fin::L},  {'D', fin::LG},
    {'C', fin::LM}, {'V', fin::LH}, {'z', fin::M},  {'3', fin::B},  {'X', fin::BS}, {'q', fin::S},  {'2', fin::SS},
    {'a', fin::NG}, {'!', fin::J},  {'Z', fin::CH}, {'E', fin::K},  {'W', fin::T},  {'Q', fin::P},  {'1', fin::H},
};

constexpr DoubleJamo kThreeSetDoubleInitials[] = {
    {ini::G, 'k', ini::GG}, {ini::D, 'u', ini::DD}, {ini::B, ';', ini::BB}, {ini::S, 'n', ini::SS}, {ini::J, 'l', ini::JJ},
};

constexpr DoubleJamo kThreeSetDoubleMedials[] = {
    {med::O, 'f', med::WA}, {med::O, 'r', med::WAE}, {med::O, 'd', med::OE}, {med::U, 't', med::WO},
    {med::U, 'c', med::WE}, {med::U, 'd', med::WI},  {med::EU, 'd', med::UI},
};

constexpr DoubleJamo kThreeSetDoubleFinals[] = {
    {fin::G, 'q', fin::GS}, {fin::N, '!', fin::NJ}, {fin::N, '1', fin::NH}, {fin::L, 'x', fin::LG},
    {fin::L, 'z', fin::LM}, {fin::L, '3', fin::LB}, {fin::L, 'q', fin::LS}, {fin::L, 'W', fin::LT},
    {fin::L, 'Q', fin::LP}, {fin::L, '1', fin::LH}, {fin::B, 'q', fin::BS},
};

constexpr KeyPair kThreeSetSymbolRows[] = {
    {'T', ';'}, {'Y', '<'}, {'U', '7'}, {'I', '8'}, {'O', '9'}, {'P', '>'}, {'G', '/'}, {'J', '4'},
    {'K', '5'}, {'L', '6'}, {'B', '!'}, {'N', '0'}, {'M', '1'}, {'<', '2'}, {'>', '3'}, {'H', '\''},
};

}  // namespace

const Layout kTwoSetLayout = {kTwoSetInitials,       kTwoSetMedials,       kTwoSetFinals,
                              kTwoSetDoubleInitials, kTwoSetDoubleMedials, kTwoSetDoubleFinals};
const Layout kThreeSetLayout = {kThreeSetInitials,       kThreeSetMedials,       kThreeSetFinals,
                                kThreeSetDoubleInitials, kThreeSetDoubleMedials, kThreeSetDoubleFinals};
const std::span<const JamoPair> kTwoSetFinalToInitial = kTwoSetFinalToInitialRows;
const std::span<const KeyPair> kThreeSetSymbols = kThreeSetSymbolRows;

uint16_t jamoForKey(std::span<const KeyJamo> table, uint16_t key) {
  for (const auto& row : table)
    if (row.key == key) return row.jamo;
  return 0;
}

uint16_t keyForJamo(std::span<const KeyJamo> table, uint16_t jamoNumber) {
  for (const auto& row : table)
    if (row.jamo == jamoNumber) return row.key;
  return 0;
}

uint16_t combineJamo(std::span<const DoubleJamo> table, uint16_t first, uint16_t key) {
  for (const auto& row : table)
    if (row.first == first && row.key == key) return row.combined;
  return 0;
}

uint16_t firstPartOf(std::span<const DoubleJamo> table, uint16_t combined) {
  for (auto row = table.rbegin(); row != table.rend(); ++row)
    if (row->combined == combined) return row->first;
  return 0;
}

uint16_t twoSetInitialForFinal(uint16_t final) {
  for (const auto& row : kTwoSetFinalToInitial)
    if (row.from == final) return row.to;
  return 0;
}

uint16_t threeSetSymbolFor(uint16_t key) {
  for (const auto& row : kThreeSetSymbols)
    if (row.key == key) return row.replacement;
  return key;
}

}  // namespace kesta::hangul
