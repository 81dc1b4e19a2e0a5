#pragma once
// Messages printed by the converted-image reader and the box database, each in one place
// with its exact text.

namespace tarnview {

/// "Cannot open file %s\n": the picture to convert cannot be opened.
void printCannotOpenPicture(const char* path);
/// "Sorry, I do not recognize this file type.\n": neither the file nor its converter's
/// output is a raw PGM.
void printUnknownFileType();
/// "Invalid file\n": the PGM header gives no usable size or maximum value.
void printInvalidFile();
/// "div=%f\n": the PGM's maximum value, as read.
void printDivisor(float maximum);
/// "%d,%g\n": a sample outside 0 ... 1 (a byte above the maximum value) and its value.
void printSampleOutOfRange(int index, float value);
/// A picture whose name is too long for its converter command.
void printNameTooLongForConverter();
/// "No boxes to save!\n"
void printNoBoxesToSave();
/// "Unable to open file %s\n": the box database cannot be created or opened.
void printUnableToOpenFile(const char* path);
/// A box database that could not be written completely.
void printUnableToWriteFile(const char* path);
/// "%d boxes for this image\n": the boxes in the list after reading a box database.
void printBoxCount(int count);

}  // namespace tarnview
