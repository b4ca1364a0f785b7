// The programs' console texts. The Japanese ones are Shift-JIS (code page 932)
// bytes, written as escapes so that no source encoding can change them.
#pragma once

// "ファイルをオープンできません.\n": the image file can't be opened.
inline constexpr char kOpenErrorText[] =
    "\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xf0\x83\x49\x81\x5b\x83\x76\x83\x93"
    "\x82\xc5\x82\xab\x82\xdc\x82\xb9\x82\xf1"
    ".\n";

// "%s を書き込めません.\n": the output file %s can't be written.
inline constexpr char kWriteErrorFormat[] =
    "%s"
    " \x82\xf0\x8f\x91\x82\xab\x8d\x9e\x82\xdf\x82\xdc\x82\xb9\x82\xf1"
    ".\n";

// "cutting ... %s\n": a cut is being written to the file %s.
inline constexpr char kProgressFormat[] = "cutting ... %s\n";
