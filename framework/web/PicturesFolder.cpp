// The page has no pictures folder of its own: a picture is written to the
// page's file system and handed to the browser as a download.
#include "framework/PicturesFolder.h"

namespace lum {

std::string PicturesFolder::find() { return ""; }

} // namespace lum
