#include "crops/crop_list_print.h"

#include "crops/crop_list_report.h"
#include "report/report_printing.h"

void printCropList(const TSakumotuList& crops, Platform& platform) {
    TForm39 form(crops);
    report::printWithDialog(form.report(), form, platform);
}
