#pragma once
// The codecs as the window uses them: an image read into the window through the rules that run
// while it is read, and the image of the settings the window shows.
#include "image/settings.h"
#include "pages/formbase.h"

namespace q7x::pages {

// The settings the window shows, as the encoders store them: object groups from the object
// numbers, their passwords from ObjectPasswordTable and their commands from the object rows.
image::Q72Settings gatherQ72(const FormBase &form);
image::Q71Settings gatherQ71(const FormBase &form);

// Decodes an image into the window: the Q72 checks show their messages at the end of the read
// and then the factory preset replaces a damaged image; DecodeImageQ71 also lists bytes 0..299
// in Memo3.
void DecodeImageQ72(FormBase &form, const image::ConfigImage &image);
void DecodeImageQ71(FormBase &form, const image::ConfigImage &image);
// Chooses the decoder by the window's DeviceModel.
void DecodeImage(FormBase &form, const image::ConfigImage &image);

// The image bytes 0..299 as a listing, one decimal number a line.
void listImage(Memo *memo, const image::ConfigImage &img);

// Encodes the window. Once the Q71 image is complete, the partitions of recipients without a
// telephone number are unticked and the image is listed in Memo2; a refused encoding changes
// nothing.
image::Encoded EncodeImageQ72(FormBase &form);
image::Encoded EncodeImageQ71(FormBase &form);
image::Encoded EncodeImage(FormBase &form);

} // namespace q7x::pages
