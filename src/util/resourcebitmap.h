#pragma once
// Bitmaps of the program's resources by name (":/bitmaps/<name>.png"), loaded on first
// use and cached for the life of the program. User-interface thread only.

#include <QImage>
#include <string_view>

class QObject;

namespace util {

// Makes the program's resources reachable by path (":/bitmaps/...", ":/icons/...").
void registerResources();

// The cached bitmap, or null when `name` names no bitmap resource (not cached then).
const QImage* resourceBitmap(std::string_view name);
// How many bitmaps were loaded from the resources so far.
int resourceBitmapLoads();

// The class name of a Qt object as narrow text, in a buffer the next call overwrites.
const char* className(const QObject* object);

}  // namespace util
