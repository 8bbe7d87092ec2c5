// What a path is taken to be, told by its ending: its last three bytes (the whole text when it
// is shorter), lower-cased in the ANSI code page. No dot is needed: "myico" ends in "ico".
#pragma once

enum class SourceKind { IconFile, Module, Unsupported };
enum class DestinationKind { IconFile, Bitmap, Other };

// Fills `ending` with the lower-cased ending and its NUL.
void PathEnding(const char* path, char (&ending)[4]);

// "ico": an icon file; "exe", "dll", "icl": a module; anything else is not supported.
SourceKind SourceKindOf(const char* path);
// "ico": an icon file; "bmp": a bitmap; anything else: nothing is written.
DestinationKind DestinationKindOf(const char* path);
