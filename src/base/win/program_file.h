#pragma once
// Where the running program's file is: the source of the application title.
#include <string>

namespace pelmora::win {

// The program file's full path as the system reports it, of any length the system allows;
// empty when the system cannot say.
std::wstring ProgramFilePath();

// The application title (Shift-JIS), derived from the program file's name as
// ApplicationTitleFromPath says: the caption of the taskbar button and of every box.
std::string ApplicationTitle();

}  // namespace pelmora::win
