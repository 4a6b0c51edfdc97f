#pragma once
// The program's string table: every message and description it shows, in Shift-JIS
// (narrow literals are compiled to code page 932). Patterns take %s and %d (format.h).

namespace pelmora::strings {

// Errors
inline constexpr char kCannotOpenClipboard[] = "クリップボードを開くことができません";
inline constexpr char kUnknownClipboardFormat[] = "未対応のクリップボード データです";
inline constexpr char kInvalidBitmap[] = "ビットマップイメージが不正です";
inline constexpr char kInvalidPixelFormat[] = "画像フォーマットが不正です";
inline constexpr char kScanLineOutOfRange[] = "スキャンライン のインデックスが範囲を越えました";
inline constexpr char kUnknownExtension[] = "拡張子 .%s の画像形式は処理できません";
inline constexpr char kJpegError[] = "JPEG エラー #%d";
inline constexpr char kJpegCannotResize[] = "JPEG イメージのサイズは変更できません";
inline constexpr char kAssignError[] = "%s を %s に代入することはできません";
inline constexpr char kFileOpenError[] = "ファイル %s は開けません";
inline constexpr char kFileCreateError[] = "ファイル %s を作成できません";
inline constexpr char kReadError[] = "ストリームからの読み込みエラー";
inline constexpr char kWriteError[] = "ストリームへの書き込みエラー";
inline constexpr char kStreamInFailed[] = "ストリームからの読み込みに失敗しました";
inline constexpr char kStreamOutFailed[] = "ストリームへの書き込みに失敗しました";
inline constexpr char kOSError[] = "システムエラー。コード：%d.\n%s";
inline constexpr char kOutOfResources[] = "システム リソースが足りません";
// A picture whose pixels would not fit the memory an image may take: the file is sound,
// the machine cannot hold it.
inline constexpr char kPictureTooLarge[] = "画像が大きすぎるため、メモリに読み込めません";
inline constexpr char kFileWriteError[] = "ファイル書き込みエラー";
// Shown for an error of no known kind (none of the program's own raises such a one).
inline constexpr char kUnknownError[] = "不明なエラーが発生しました";

// Graphic kinds, as the file-format registry describes them
inline constexpr char kMetafileDescription[] = "メタファイル";
inline constexpr char kEnhancedMetafileDescription[] = "エンハンス メタファイル";
inline constexpr char kIconDescription[] = "アイコン";
inline constexpr char kBitmapDescription[] = "ビットマップ";
inline constexpr char kJpegDescription[] = "JPEG イメージファイル";

// The main window's panel, seen while neither view covers it
inline constexpr char kNoDataCaption[] = "No Data";
// The clipboard holds content its program marked as not to be shown by viewers (a
// password, say): the view shows that something is there, and nothing of it.
inline constexpr char kWithheldCaption[] = "Protected Data";

// Picture save dialog preview
inline constexpr char kPreviewSize[] = " (%dx%d)";
inline constexpr char kPreviewNoPicture[] = "画像:";
inline constexpr char kPreviewNone[] = "(なし)";
inline constexpr char kPreviewInvalid[] = "画像が不正です";
inline constexpr char kPreview[] = "プレビュー";

}  // namespace pelmora::strings
