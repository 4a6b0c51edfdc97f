#pragma once
// Where the running program's file is: the source of the application title.
#include <string>

namespace pelmora::win {

// The program file's full path as the system reports it, of any length the system allows;
// empty when the system cannot say.
std::wstring ProgramFilePath();

}  // namespace pelmora::win
