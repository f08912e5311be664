// Encoding names and code pages: the built-in table of IANA and Windows names, the
// code page -> iconv charset map, and the name lookup (lower-cased ASCII, hashed
// by the sum of the character codes into 155 buckets).
#include <cstdio>
#include <cstring>
#include <vector>

#include "xml/xml_internal.h"

namespace xmlimpl {
namespace {

struct NameEntry {
  const char* name;
  int codePage;
};

// Lower-case names; gathered from the IANA character-set registry and the names
// Windows accepts for its code pages.
constexpr NameEntry kNames[] = {
    {"ibm037", 37},
    {"cp037", 37},
    {"csibm037", 37},
    {"ebcdic-cp-ca", 37},
    {"ebcdic-cp-nl", 37},
    {"ebcdic-cp-us", 37},
    {"ebcdic-cp-wt", 37},
    {"ibm-037", 37},
    {"ibm437", 437},
    {"cp437", 437},
    {"437", 437},
    {"cspc8codepage437", 437},
    {"ibm-437", 437},
    {"ibm500", 500},
    {"cp500", 500},
    {"csibm500", 500},
    {"ebcdic-cp-ch", 500},
    {"ibm-500", 500},
    {"asmo-708", 708},
    {"dos-720", 720},
    {"ibm737", 737},
    {"cp737", 737},
    {"ibm-737", 737},
    {"ibm775", 775},
    {"cp775", 775},
    {"ibm-775", 775},
    {"ebcdic-cp-be", 775},
    {"ibm850", 850},
    {"cp850", 850},
    {"850", 850},
    {"cspc850multilingual", 850},
    {"ibm-850", 850},
    {"ibm852", 852},
    {"cp852", 852},
    {"ibm-852", 852},
    {"ibm855", 855},
    {"cp855", 855},
    {"ibm-855", 855},
    {"ibm857", 857},
    {"cp857", 857},
    {"ibm-857", 857},
    {"ibm00858", 858},
    {"ccsid00858", 858},
    {"cp00858", 858},
    {"cp858", 858},
    {"pc-multilingual-850+euro", 858},
    {"ibm860", 860},
    {"cp860", 860},
    {"ibm-860", 860},
    {"ibm861", 861},
    {"cp861", 861},
    {"ibm-861", 861},
    {"dos-862", 862},
    {"ibm862", 862},
    {"cp862", 862},
    {"ibm-862", 862},
    {"ibm863", 863},
    {"cp863", 863},
    {"ibm-863", 863},
    {"ibm864", 864},
    {"cp864", 864},
    {"ibm-864", 864},
    {"ibm865", 865},
    {"cp865", 865},
    {"ibm-865", 865},
    {"cp866", 866},
    {"ibm866", 866},
    {"ibm-866", 866},
    {"ibm869", 869},
    {"cp869", 869},
    {"cp-gr", 869},
    {"ibm-869", 869},
    {"ibm870", 870},
    {"cp870", 870},
    {"ebcdic-cp-roece", 870},
    {"ebcdic-cp-yu", 870},
    {"csibm870", 870},
    {"windows-874", 874},
    {"dos-874", 874},
    {"iso-8859-11", 874},
    {"tis-620", 874},
    {"cp874", 874},
    {"cp875", 875},
    {"ibm875", 875},
    {"shift_jis", 932},
    {"ms932", 932},
    {"csshiftjis", 932},
    {"cswindows31j", 932},
    {"ms_kanji", 932},
    {"shift-jis", 932},
    {"sjis", 932},
    {"x-ms-cp932", 932},
    {"x-sjis", 932},
    {"windows-31j", 932},
    {"cp932", 932},
    {"gb2312", 936},
    {"chinese", 936},
    {"cn-gb", 936},
    {"csgb2312", 936},
    {"csgb231280", 936},
    {"csiso58gb231280", 936},
    {"gb_2312-80", 936},
    {"gb231280", 936},
    {"gb2312-80", 936},
    {"gbk", 936},
    {"iso-ir-58", 936},
    {"x-gbk", 936},
    {"cp936", 936},
    {"ms936", 936},
    {"windows-936", 936},
    {"ks_c_5601-1987", 949},
    {"korean", 949},
    {"csksc56011987", 949},
    {"iso-ir-149", 949},
    {"ks_c_5601", 949},
    {"ks_c_5601_1987", 949},
    {"ks_c_5601-1989", 949},
    {"ksc_5601", 949},
    {"ksc5601", 949},
    {"cp949", 949},
    {"ms949", 949},
    {"uhc", 949},
    {"windows-949", 949},
    {"big5", 950},
    {"big5-hkscs", 950},
    {"cn-big5", 950},
    {"csbig5", 950},
    {"x-x-big5", 950},
    {"cp950", 950},
    {"ms950", 950},
    {"windows-950", 950},
    {"ibm1026", 1026},
    {"cp1026", 1026},
    {"csibm1026", 1026},
    {"ibm-1026", 1026},
    {"ibm01047", 1047},
    {"ibm1047", 1047},
    {"cp1047", 1047},
    {"ibm01140", 1140},
    {"ccsid01140", 1140},
    {"cp01140", 1140},
    {"ebcdic-us-37+euro", 1140},
    {"ibm01141", 1141},
    {"ccsid01141", 1141},
    {"cp01141", 1141},
    {"ebcdic-de-273+euro", 1141},
    {"ibm01142", 1142},
    {"ccsid01142", 1142},
    {"cp01142", 1142},
    {"ebcdic-dk-277+euro", 1142},
    {"ebcdic-no-277+euro", 1142},
    {"ibm01143", 1143},
    {"ccsid01143", 1143},
    {"cp01143", 1143},
    {"ebcdic-fi-278+euro", 1143},
    {"ebcdic-se-278+euro", 1143},
    {"ibm01144", 1144},
    {"ccsid01144", 1144},
    {"cp01144", 1144},
    {"ebcdic-it-280+euro", 1144},
    {"ibm01145", 1145},
    {"ccsid01145", 1145},
    {"cp01145", 1145},
    {"ebcdic-es-284+euro", 1145},
    {"ibm01146", 1146},
    {"ccsid01146", 1146},
    {"cp01146", 1146},
    {"ebcdic-gb-285+euro", 1146},
    {"ibm01147", 1147},
    {"ccsid01147", 1147},
    {"cp01147", 1147},
    {"ebcdic-fr-297+euro", 1147},
    {"ibm01148", 1148},
    {"ccsid01148", 1148},
    {"cp01148", 1148},
    {"ebcdic-international-500+euro", 1148},
    {"ibm01149", 1149},
    {"ccsid01149", 1149},
    {"cp01149", 1149},
    {"ebcdic-is-871+euro", 1149},
    {"utf-16", 1200},
    {"utf-16le", 1200},
    {"unicode", 1200},
    {"ucs-2", 1200},
    {"iso-10646-ucs-2", 1200},
    {"csunicode", 1200},
    {"utf16", 1200},
    {"utf16le", 1200},
    {"ucs2", 1200},
    {"utf-16be", 1201},
    {"unicodefffe", 1201},
    {"utf16be", 1201},
    {"windows-1250", 1250},
    {"x-cp1250", 1250},
    {"cp1250", 1250},
    {"windows-1251", 1251},
    {"x-cp1251", 1251},
    {"cp1251", 1251},
    {"windows-1252", 1252},
    {"x-ansi", 1252},
    {"cp1252", 1252},
    {"windows-1253", 1253},
    {"cp1253", 1253},
    {"windows-1254", 1254},
    {"cp1254", 1254},
    {"windows-1255", 1255},
    {"cp1255", 1255},
    {"windows-1256", 1256},
    {"cp1256", 1256},
    {"windows-1257", 1257},
    {"cp1257", 1257},
    {"windows-1258", 1258},
    {"cp1258", 1258},
    {"johab", 1361},
    {"macintosh", 10000},
    {"mac", 10000},
    {"x-mac-roman", 10000},
    {"csmacintosh", 10000},
    {"x-mac-japanese", 10001},
    {"x-mac-chinesetrad", 10002},
    {"x-mac-korean", 10003},
    {"x-mac-arabic", 10004},
    {"x-mac-hebrew", 10005},
    {"x-mac-greek", 10006},
    {"x-mac-cyrillic", 10007},
    {"x-mac-chinesesimp", 10008},
    {"x-mac-romanian", 10010},
    {"x-mac-ukrainian", 10017},
    {"x-mac-thai", 10021},
    {"x-mac-ce", 10029},
    {"x-mac-icelandic", 10079},
    {"x-mac-turkish", 10081},
    {"x-mac-croatian", 10082},
    {"utf32", 12000},
    {"utf-32le", 12000},
    {"utf32le", 12000},
    {"ucs-4le", 12000},
    {"utf-32be", 12001},
    {"utf32be", 12001},
    {"ucs-4be", 12001},
    {"x-chinese-cns", 20000},
    {"x-chinese_cns", 20000},
    {"x-cp20001", 20001},
    {"x-chinese-eten", 20002},
    {"x-chinese_eten", 20002},
    {"x-cp20003", 20003},
    {"x-cp20004", 20004},
    {"x-cp20005", 20005},
    {"x-ia5", 20105},
    {"irv", 20105},
    {"x-ia5-german", 20106},
    {"din_66003", 20106},
    {"german", 20106},
    {"x-ia5-swedish", 20107},
    {"sen_850200_b", 20107},
    {"swedish", 20107},
    {"x-ia5-norwegian", 20108},
    {"ns_4551-1", 20108},
    {"norwegian", 20108},
    {"us-ascii", 20127},
    {"ascii", 20127},
    {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127},
    {"cp367", 20127},
    {"csascii", 20127},
    {"ibm367", 20127},
    {"iso-ir-6", 20127},
    {"iso646-us", 20127},
    {"iso_646.irv:1991", 20127},
    {"us", 20127},
    {"x-cp20261", 20261},
    {"x-cp20269", 20269},
    {"ibm273", 20273},
    {"cp273", 20273},
    {"csibm273", 20273},
    {"ibm277", 20277},
    {"csibm277", 20277},
    {"ebcdic-cp-dk", 20277},
    {"ebcdic-cp-no", 20277},
    {"ibm278", 20278},
    {"cp278", 20278},
    {"csibm278", 20278},
    {"ebcdic-cp-fi", 20278},
    {"ebcdic-cp-se", 20278},
    {"ibm280", 20280},
    {"cp280", 20280},
    {"csibm280", 20280},
    {"ebcdic-cp-it", 20280},
    {"ibm284", 20284},
    {"cp284", 20284},
    {"csibm284", 20284},
    {"ebcdic-cp-es", 20284},
    {"ibm285", 20285},
    {"cp285", 20285},
    {"csibm285", 20285},
    {"ebcdic-cp-gb", 20285},
    {"ibm290", 20290},
    {"cp290", 20290},
    {"csibm290", 20290},
    {"ebcdic-jp-kana", 20290},
    {"ibm297", 20297},
    {"cp297", 20297},
    {"csibm297", 20297},
    {"ebcdic-cp-fr", 20297},
    {"ibm420", 20420},
    {"cp420", 20420},
    {"csibm420", 20420},
    {"ebcdic-cp-ar1", 20420},
    {"ibm423", 20423},
    {"cp423", 20423},
    {"csibm423", 20423},
    {"ebcdic-cp-gr", 20423},
    {"ibm424", 20424},
    {"cp424", 20424},
    {"csibm424", 20424},
    {"ebcdic-cp-he", 20424},
    {"x-ebcdic-koreanextended", 20833},
    {"ibm-thai", 20838},
    {"csibmthai", 20838},
    {"koi8-r", 20866},
    {"cskoi8r", 20866},
    {"koi", 20866},
    {"koi8", 20866},
    {"koi8r", 20866},
    {"ibm871", 20871},
    {"cp871", 20871},
    {"csibm871", 20871},
    {"ebcdic-cp-is", 20871},
    {"ibm880", 20880},
    {"cp880", 20880},
    {"csibm880", 20880},
    {"ebcdic-cyrillic", 20880},
    {"ibm905", 20905},
    {"cp905", 20905},
    {"csibm905", 20905},
    {"ebcdic-cp-tr", 20905},
    {"ibm00924", 20924},
    {"ccsid00924", 20924},
    {"cp00924", 20924},
    {"ebcdic-latin9--euro", 20924},
    {"x-cp20932", 20932},
    {"x-cp20936", 20936},
    {"x-cp20949", 20949},
    {"cp1025", 21025},
    {"koi8-u", 21866},
    {"koi8-ru", 21866},
    {"koi8u", 21866},
    {"iso-8859-1", 28591},
    {"cp819", 28591},
    {"csisolatin1", 28591},
    {"ibm819", 28591},
    {"iso_8859-1", 28591},
    {"iso_8859-1:1987", 28591},
    {"iso-ir-100", 28591},
    {"l1", 28591},
    {"latin1", 28591},
    {"iso8859-1", 28591},
    {"latin-1", 28591},
    {"iso-8859-2", 28592},
    {"csisolatin2", 28592},
    {"iso_8859-2", 28592},
    {"iso_8859-2:1987", 28592},
    {"iso-ir-101", 28592},
    {"l2", 28592},
    {"latin2", 28592},
    {"iso8859-2", 28592},
    {"iso-8859-3", 28593},
    {"csisolatin3", 28593},
    {"iso_8859-3", 28593},
    {"iso_8859-3:1988", 28593},
    {"iso-ir-109", 28593},
    {"l3", 28593},
    {"latin3", 28593},
    {"iso8859-3", 28593},
    {"iso-8859-4", 28594},
    {"csisolatin4", 28594},
    {"iso_8859-4", 28594},
    {"iso_8859-4:1988", 28594},
    {"iso-ir-110", 28594},
    {"l4", 28594},
    {"latin4", 28594},
    {"iso8859-4", 28594},
    {"iso-8859-5", 28595},
    {"csisolatincyrillic", 28595},
    {"cyrillic", 28595},
    {"iso_8859-5", 28595},
    {"iso_8859-5:1988", 28595},
    {"iso-ir-144", 28595},
    {"iso8859-5", 28595},
    {"iso-8859-6", 28596},
    {"arabic", 28596},
    {"csisolatinarabic", 28596},
    {"ecma-114", 28596},
    {"iso_8859-6", 28596},
    {"iso_8859-6:1987", 28596},
    {"iso-ir-127", 28596},
    {"iso8859-6", 28596},
    {"iso-8859-7", 28597},
    {"csisolatingreek", 28597},
    {"ecma-118", 28597},
    {"elot_928", 28597},
    {"greek", 28597},
    {"greek8", 28597},
    {"iso_8859-7", 28597},
    {"iso_8859-7:1987", 28597},
    {"iso-ir-126", 28597},
    {"iso8859-7", 28597},
    {"iso-8859-8", 28598},
    {"csisolatinhebrew", 28598},
    {"hebrew", 28598},
    {"iso_8859-8", 28598},
    {"iso_8859-8:1988", 28598},
    {"iso-ir-138", 28598},
    {"visual", 28598},
    {"iso-8859-8-visual", 28598},
    {"iso8859-8", 28598},
    {"iso-8859-9", 28599},
    {"csisolatin5", 28599},
    {"iso_8859-9", 28599},
    {"iso_8859-9:1989", 28599},
    {"iso-ir-148", 28599},
    {"l5", 28599},
    {"latin5", 28599},
    {"iso8859-9", 28599},
    {"iso-8859-13", 28603},
    {"iso_8859-13", 28603},
    {"l7", 28603},
    {"latin7", 28603},
    {"iso8859-13", 28603},
    {"iso-8859-15", 28605},
    {"csisolatin9", 28605},
    {"iso_8859-15", 28605},
    {"l9", 28605},
    {"latin9", 28605},
    {"iso8859-15", 28605},
    {"latin-9", 28605},
    {"x-europa", 29001},
    {"iso-8859-8-i", 38598},
    {"logical", 38598},
    {"iso_8859-8-i", 38598},
    {"iso-2022-jp", 50220},
    {"csiso2022jp-50220", 50220},
    {"csiso2022jp", 50221},
    {"iso-2022-jp-1", 50222},
    {"iso-2022-kr", 50225},
    {"csiso2022kr", 50225},
    {"iso-2022-kr-7", 50225},
    {"iso-2022-kr-7bit", 50225},
    {"x-cp50227", 50227},
    {"euc-jp", 51932},
    {"cseucpkdfmtjapanese", 51932},
    {"extended_unix_code_packed_format_for_japanese", 51932},
    {"x-euc", 51932},
    {"x-euc-jp", 51932},
    {"eucjp", 51932},
    {"euc-cn", 51936},
    {"x-euc-cn", 51936},
    {"euccn", 51936},
    {"euc-kr", 51949},
    {"cseuckr", 51949},
    {"euckr", 51949},
    {"hz-gb-2312", 52936},
    {"gb18030", 54936},
    {"x-iscii-de", 57002},
    {"x-iscii-be", 57003},
    {"x-iscii-ta", 57004},
    {"x-iscii-te", 57005},
    {"x-iscii-as", 57006},
    {"x-iscii-or", 57007},
    {"x-iscii-ka", 57008},
    {"x-iscii-ma", 57009},
    {"x-iscii-gu", 57010},
    {"x-iscii-pa", 57011},
    {"utf-7", 65000},
    {"csunicode11utf7", 65000},
    {"unicode-1-1-utf-7", 65000},
    {"unicode-2-0-utf-7", 65000},
    {"x-unicode-1-1-utf-7", 65000},
    {"x-unicode-2-0-utf-7", 65000},
    {"utf7", 65000},
    {"utf-8", 65001},
    {"unicode-1-1-utf-8", 65001},
    {"unicode-2-0-utf-8", 65001},
    {"x-unicode-1-1-utf-8", 65001},
    {"x-unicode-2-0-utf-8", 65001},
    {"utf8", 65001},
    {"utf-32", 65005},
    {"ucs-4", 65005},
    {"iso-10646-ucs-4", 65005},
};
constexpr int kNameCount = sizeof(kNames) / sizeof(kNames[0]);
constexpr unsigned kBuckets = 155;

struct NameTable {
  std::vector<std::vector<const NameEntry*>> buckets;
  NameTable() : buckets(kBuckets) {
    for (const NameEntry& e : kNames) {
      unsigned sum = 0;
      for (const char* p = e.name; *p; ++p) sum += static_cast<unsigned char>(*p);
      buckets[sum % kBuckets].push_back(&e);
    }
  }
};

const NameTable& Table() {
  static const NameTable table;
  return table;
}

}  // namespace

int EncodingNameCount() { return kNameCount; }

int CodePageFromName(const char* name, size_t n) {
  if (n == 0) return 0;  // the system ANSI code page
  if (n >= 100) return -1;
  char lower[100];
  unsigned sum = 0;
  for (size_t i = 0; i < n; ++i) {
    char c = name[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    lower[i] = c;
    sum += static_cast<unsigned char>(c);
  }
  lower[n] = 0;
  // "UTF-32" in any case is the code page the converter handles itself.
  if (std::strcmp(lower, "utf-32") == 0) return kCpUtf32;
  for (const NameEntry* e : Table().buckets[sum % kBuckets]) {
    if (std::strcmp(e->name, lower) == 0) return e->codePage;
  }
  return -1;
}

int CodePageFromName(const std::wstring& name) {
  if (name.size() >= 100) return -1;
  char buf[100];
  for (size_t i = 0; i < name.size(); ++i) {
    wchar_t c = name[i];
    if (c <= 0 || c >= 128) return -1;  // names are ASCII
    buf[i] = static_cast<char>(c);
  }
  return CodePageFromName(buf, name.size());
}

std::string IconvCharset(int cp) {
  char numbered[32];
  switch (cp) {
    case 0: return "CP1252";
    case 37: return "IBM037";
    case 500: return "IBM500";
    case 708: return "ASMO-708";
    case 858: return "CP858";
    case 870: return "IBM870";
    case 875: return "IBM875";
    case 874: return "CP874";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    case 1026: return "IBM1026";
    case 1047: return "IBM1047";
    case 1361: return "JOHAB";
    case 10000: return "MACINTOSH";
    case 10004: return "MAC-ARABIC";
    case 10006: return "MAC-GREEK";
    case 10007: return "MAC-CYRILLIC";
    case 10017: return "MAC-UK";
    case 10029: return "MAC-CENTRALEUROPE";
    case 10079: return "MAC-IS";
    case 20127: return "ANSI_X3.4-1968";
    case 20866: return "KOI8-R";
    case 21866: return "KOI8-U";
    case 21025: return "IBM1025";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 28593: return "ISO-8859-3";
    case 28594: return "ISO-8859-4";
    case 28595: return "ISO-8859-5";
    case 28596: return "ISO-8859-6";
    case 28597: return "ISO-8859-7";
    case 28598: return "ISO-8859-8";
    case 28599: return "ISO-8859-9";
    case 28603: return "ISO-8859-13";
    case 28605: return "ISO-8859-15";
    case 38598: return "ISO-8859-8";
    case 50220: case 50221: case 50222: return "ISO-2022-JP";
    case 50225: return "ISO-2022-KR";
    case 51932: case 20932: return "EUC-JP";
    case 51936: return "EUC-CN";
    case 51949: return "EUC-KR";
    case 54936: return "GB18030";
    case 65000: return "UTF-7";
    case 65001: return "UTF-8";
    default: break;
  }
  if (cp >= 1140 && cp <= 1149) {
    std::snprintf(numbered, sizeof numbered, "IBM%d", cp);
    return numbered;
  }
  if (cp >= 20273 && cp <= 20905) {  // the EBCDIC national sets: IBM273 ... IBM905
    std::snprintf(numbered, sizeof numbered, "IBM%d", cp - 20000);
    return numbered;
  }
  if ((cp >= 437 && cp <= 869) || (cp >= 1250 && cp <= 1258)) {
    std::snprintf(numbered, sizeof numbered, "CP%d", cp);
    return numbered;
  }
  return std::string();
}

}  // namespace xmlimpl
