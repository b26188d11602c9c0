#pragma once

class Platform;
class TSakumotuList;

// 印刷 of the crop list tab: the catalogue as a ruled A4 list, in catalogue
// order without the dummy crop, after a print dialog.
void printCropList(const TSakumotuList& crops, Platform& platform);
