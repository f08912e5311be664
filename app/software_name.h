#pragma once
// The program's display name from config.xml in the program folder:
// <config><software name="..."/></config>.
//
// Sets Manager's device name and answers true when the file, both elements and a
// non-empty name attribute are found; otherwise the name stays as it was ("Vantor").
bool ReadSoftwareName();
