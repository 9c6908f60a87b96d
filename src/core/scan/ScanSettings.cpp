#include "core/scan/ScanSettings.h"

namespace kest::scan {

ScanOptions ScanOptionsFromSettings(const AppSettings& settings) {
    ScanOptions options;
    options.showNonOpticalWarning = settings.Show_Non_Optical_Warning;
    options.estimateBeforeScan = settings.Est_B4_Scan;
    options.saveSubFileContents = settings.SaveSubFileCont;
    options.saveZip = settings.SaveZIP == 1;
    options.saveCab = settings.SaveCAB == 1;
    options.saveRar = settings.SaveRAR == 1;
    options.saveAce = settings.SaveACE == 1;
    options.save7z = settings.Save7Z == 1;
    options.saveTar = settings.SaveTAR == 1;
    options.saveCompressedTar = settings.SaveCompressedTAR == 1;
    options.saveIso = settings.SaveISO == 1;
    options.playSound = settings.Play;
    options.endScanSound = settings.EndScan;
    options.showUsedSpace = settings.ShowUsedSpace;
    options.hashContents = settings.HashContents;
    return options;
}

}  // namespace kest::scan
