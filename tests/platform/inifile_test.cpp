// SPDX-License-Identifier: GPL-3.0-or-later
// TIniFile: reading with defaults, rewriting in place byte for byte, atomic saving.
#include "inifile.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <string>

#include <sys/resource.h>

#include "numtext.h"

namespace qvt {
namespace {

using namespace std::string_literals;

std::string ReadAll(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly))
    return "<missing>";
  return file.readAll().toStdString();
}

void WriteAll(const QString& path, const std::string& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

void Replace(std::string& s, const std::string& from, const std::string& to) {
  const auto at = s.find(from);
  ASSERT_NE(at, std::string::npos) << from;
  s.replace(at, from.size(), to);
}

// A file as teachers have them: CR LF, comments, blanks, a section of another program, lines
// that mean nothing, 8-bit and binary bytes.
const std::string kTeacherFile = "; written by hand\r\n"
                                 "[Affichage]\r\n"
                                 "Grille = 1\r\n"
                                 "garbage without equals\r\n"
                                 "DimPoint=2\r\n"
                                 "\r\n"
                                 "; channel settings follow\r\n"
                                 "[Autre programme]\r\n"
                                 "Clef=\x01\x02\xFF\x00 binaire\r\n"s +
                                 std::string(5000, 'x') + "\r\n"
                                 "[Constante]\r\n"
                                 "Nom=R\r\n"
                                 "Unit\xE9=k\x9D\r\n"
                                 "Comm=mesure du lundi";

TEST(IniFile, RewriteChangesOnlyWhatIsWritten) {
  TIniFile ini;
  ini.SetContent(kTeacherFile);
  EXPECT_EQ(ini.Content(), kTeacherFile);

  ASSERT_TRUE(ini.WriteInteger("affichage", "GRILLE", 0)); // in place, blanks kept
  ASSERT_TRUE(ini.WriteInteger("Affichage", "DimPoint", 2)); // same value: line untouched
  ASSERT_TRUE(ini.WriteInteger("Affichage", "PenWidth", 3)); // after the last key line
  ASSERT_TRUE(ini.WriteString("Constante", "Unit\xE9", "\xB5V"));
  ASSERT_TRUE(ini.WriteString("Voie0", "Active", "1")); // new section at the end

  std::string expected = kTeacherFile;
  Replace(expected, "Grille = 1", "Grille = 0");
  Replace(expected, "DimPoint=2\r\n", "DimPoint=2\r\nPenWidth=3\r\n");
  Replace(expected, "Unit\xE9=k\x9D", "Unit\xE9=\xB5V");
  expected += "\r\n[Voie0]\r\nActive=1\r\n"; // the last line gets its end
  EXPECT_EQ(ini.Content(), expected);
}

TEST(IniFile, NewLinesEndAsTheFileDoes) {
  TIniFile lf;
  lf.SetContent("[A]\nx=1\n\n[B]\ny=2");
  lf.WriteString("A", "z", "3");
  lf.WriteString("B", "w", "4");
  EXPECT_EQ(lf.Content(), "[A]\nx=1\nz=3\n\n[B]\ny=2\nw=4\n");

  TIniFile lastCr; // a CR ending the file stays part of the last line's end
  lastCr.SetContent("[A]\nk=v\r");
  EXPECT_EQ(lastCr.ReadString("A", "k", ""), "v");
  lastCr.WriteString("A", "z", "1");
  EXPECT_EQ(lastCr.Content(), "[A]\nk=v\r\nz=1\n");

  TIniFile fresh;
  fresh.WriteString("Point", "Auto", "1");
  fresh.WriteString("Point", "PourCent", "5");
  EXPECT_EQ(fresh.Content(), "[Point]\r\nAuto=1\r\nPourCent=5\r\n");

  TIniFile headerOnly; // a section without keys takes its first key right after its header
  headerOnly.SetContent("[A]\r\n\r\n[B]\r\n");
  headerOnly.WriteString("A", "k", "v");
  EXPECT_EQ(headerOnly.Content(), "[A]\r\nk=v\r\n\r\n[B]\r\n");
}

TEST(IniFile, ReadsTypedValuesOrTheirDefaults) {
  TIniFile ini;
  ini.SetContent("orphan=1\r\n"
                 "[Voie1]\r\n"
                 "Active=1\r\n"
                 "Diff=  -12 \r\n"
                 "Calibre=4x\r\n"
                 "Mini=-1.5e-3\r\n"
                 "Maxi=quinze\r\n"
                 "Active=0\r\n" // a second key of the same name is not read
                 "[Constante]\r\n"
                 "Unit\xE9=V\r\n");
  EXPECT_TRUE(ini.ReadBool("voie1", "ACTIVE", false));
  EXPECT_EQ(ini.ReadInteger("Voie1", "Diff", 0), -12);
  EXPECT_EQ(ini.ReadInteger("Voie1", "Calibre", 7), 7);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("Voie1", "Mini", 0), -1.5e-3);
  EXPECT_DOUBLE_EQ(ini.ReadFloat("Voie1", "Maxi", 15), 15);
  EXPECT_EQ(ini.ReadString("Constante", "Unit\xE9", "?"), "V");
  EXPECT_EQ(ini.ReadString("Constante", "Unite", "?"), "?");
  EXPECT_EQ(ini.ReadString("", "orphan", "?"), "?");
}

TEST(IniFile, FloatsUseTheSystemSeparator) {
  for (char mark : {'.', ','}) {
    ForceDecimalSeparator(mark);
    TIniFile ini;
    ini.WriteFloat("Synchro", "Seuil", 1.5);
    ini.WriteFloat("Synchro", "offset", -0.000123456789012345);
    EXPECT_EQ(ini.ReadString("Synchro", "Seuil", ""), std::string("1") + mark + "5");
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Synchro", "Seuil", 0), 1.5);
    EXPECT_DOUBLE_EQ(ini.ReadFloat("Synchro", "offset", 0), -0.000123456789012345);
  }
  ForceDecimalSeparator('\0');
}

// Saving is all or nothing: a write that fails half-way (here the process's file size
// limit, as a full disk would) leaves the old file whole and no temporary file behind.
TEST(IniFile, SaveReplacesTheFileWholeOrNotAtAll) {
  QTemporaryDir dir;
  const QString path = dir.filePath("qvt2.qvt2");
  WriteAll(path, kTeacherFile);
  TIniFile ini(path.toStdString());
  EXPECT_EQ(ini.ReadString("Constante", "Comm", ""), "mesure du lundi");
  ini.WriteString("Constante", "Nom", "C");
  ASSERT_TRUE(ini.Save()) << ini.ErrorString().toStdString();
  const std::string saved = ini.Content();
  EXPECT_EQ(ReadAll(path), saved);

  ini.WriteString("Autre programme", "Long", std::string(100000, 'y'));
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  rlimit small = old;
  small.rlim_cur = 8192;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = ini.Save();
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &old), 0);
  std::signal(SIGXFSZ, SIG_DFL);

  EXPECT_FALSE(ok);
  EXPECT_FALSE(ini.ErrorString().isEmpty());
  EXPECT_NE(ini.ErrorString(), "Unknown error"); // the system's reason
  EXPECT_EQ(ReadAll(path), saved);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"qvt2.qvt2"});
}

} // namespace
} // namespace qvt
