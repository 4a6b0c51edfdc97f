#include "base/app_title.h"

#include <gtest/gtest.h>

#include "support/expect_each.h"

namespace pelmora {
namespace {

using test::ExpectEach;

TEST(ApplicationTitle, NameBeforeFirstDotWithTheRestLowerCased) {
  ExpectEach(ApplicationTitleFromPath,
             {
                 {"C:\\x\\VIEWER.EXE", "Viewer"},
                 {"C:\\Program Files\\Pelmora\\Pelmora.exe", "Pelmora"},
                 {"pelmora.exe", "pelmora"},
                 {"C:\\Program Files\\ClipView.v2.exe", "Clipview"},
                 {"C:\\Tools\\APP", "App"},
                 {"C:\\my.tools\\VIEW.EXE", "View"},
                 {"C:\\Tools\\", ""},
                 {"C:\\Tools\\.EXE", ""},
                 {"", ""},
             });
}

TEST(ApplicationTitle, DoubleByteCharactersStayWhole) {
  ExpectEach(ApplicationTitleFromPath,
             {
                 // A folder ending in "表" (second byte "\") is not cut inside that character.
                 {"C:\\表\\ABC.EXE", "Abc"},
                 {"C:\\ツール表\\ABC.EXE", "Abc"},
                 // A double-byte first character is kept whole; the letters after it are
                 // lower-cased, the second bytes of later characters ("ト" ends in "g", "キ"
                 // in "L") are not.
                 {"C:\\x\\表VIEW.EXE", "表view"},
                 {"C:\\x\\Aテキスト.EXE", "Aテキスト"},
                 {"C:\\x\\キAB.exe", "キab"},
             });
}

}  // namespace
}  // namespace pelmora
