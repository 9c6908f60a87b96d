#include "core/update/InfoTexts.h"

#include "core/update/BuildInfo.h"
#include "core/update/UpdateFiles.h"

namespace kest::update {

std::string ReleaseHistory() {
    return "Release history\r\n"
           "\r\n" +
           ReleaseText(ProgramRelease()) +
           "\r\n"
           "  The first release for Linux. Catalogs are single .kst files; any mounted\r\n"
           "  volume or folder can be scanned as a disc; ZIP, CAB, RAR and ACE files are\r\n"
           "  listed by Kest's own readers; catalogs can carry a password; searches use\r\n"
           "  an index of their own; the program installs with a menu entry, an icon,\r\n"
           "  man pages and a Debian package, and kest-cli does all of it from scripts.\r\n"
           "\r\n"
           "Credits\r\n"
           "\r\n"
           "  Written by " +
           MakerName() +
           " in C++ with Qt 6.\r\n"
           "  Catalogs are kept with SQLite; passwords are checked with libsodium;\r\n"
           "  Unicode case folding comes from utf8proc, volume facts from libblkid,\r\n"
           "  settings are read with SimpleIni and the command line with CLI11.\r\n"
           "  Thanks to everyone who reported bugs and tested Kest with their discs.";
}

const std::vector<HelpTopic>& HelpTopics() {
    static const std::vector<HelpTopic> topics = {
        {"Advanced Search",
         "Press \">> Advanced\" in the Search view to bound a search.\n"
         "\n"
         "Size:    lower and upper bound of the file size, in the size unit of\n"
         "         Options, Results (bytes, KB or MB; 1.5 in MB = 1.5 MB); the size\n"
         "         boxes' tool tips name the unit.\n"
         "Dates:   lower and upper bound of the file date, typed in the format of\n"
         "         Options, Search, \"Date Format for Advanced Search\".\n"
         "KestID:  lower and upper bound of the disc number (the KestID column).\n"
         "\n"
         "Leave a box empty for no bound on that side. A bound that is not a number\n"
         "or not a date is named in a message before the search runs. The bounds\n"
         "are added to the search text with AND; \"<< Advanced\" hides them again."},
        {"Patterns",
         "Type one or more patterns into the search box, separated by commas:\n"
         "\n"
         "  *.jpg, *.png     every JPEG or PNG file\n"
         "  report*          names that start with \"report\"\n"
         "  ?ata.db          one character, then \"ata.db\"\n"
         "  img_##.raw       \"#\" stands for one digit\n"
         "  [a-c]*           names that start with a, b or c\n"
         "  [!a-c]*          names that do not\n"
         "\n"
         "*  any run of characters      ?  exactly one character\n"
         "#  one digit                  [ ] one character of a set or range\n"
         "\n"
         "Case does not matter. Options, Search chooses the fields searched (file\n"
         "name, directory, description) and whether patterns are joined with OR\n"
         "or AND; with automatic asterisks \"invoice\" finds \"*invoice*\".\n"
         "Directories are stored with \"/\" and end in \"/\"; the top folder of a\n"
         "disc is <root>."},
        {"Errors",
         "Errors are shown as a number and a description under a title that names\n"
         "the place. The numbers you are most likely to meet:\n"
         "\n"
         "   6    Overflow: a number too large, e.g. an update release number.\n"
         "  13    Type mismatch: text where a number or date was expected.\n"
         "  53    File not found: a file vanished while the disc was scanned, or a\n"
         "        name cannot be opened.\n"
         "  57    Device I/O error: the disc could not be read (a scratched disc or\n"
         "        a failing drive).\n"
         "  61    Disk full: no room for a file Kest writes (a list, the log).\n"
         "  70    Permission denied: a file or folder Kest may not read or write.\n"
         "  71    Disk not ready: no medium in the drive, or the volume is gone.\n"
         "  76    Path not found: a folder that is not there, or a name too long.\n"
         " 3024   The catalog file does not exist.\n"
         " 3026   Not enough space on the disk holding the catalog.\n"
         " 3027   The catalog is read-only (file permission or read-only disk).\n"
         " 3031   Not a valid password.\n"
         " 3045   The catalog is in use by another copy of Kest.\n"
         " 3049   The catalog is damaged: use Tools, Repair External Database.\n"
         " 3343   The file is not a catalog (unrecognised database format).\n"
         " 3075   A search text the query cannot use.\n"

         "32755   A file dialog was cancelled (never shown; the command just ends)."},
        {"Options",
         "Tools, Options... has six tabs:\n"
         "\n"
         "Results           columns shown in the results, the size unit (bytes,\n"
         "                  KB, MB) with its decimals and the date format.\n"
         "General           colours, the drives offered for scanning and the\n"
         "                  non-optical warning, the default drive of the file\n"
         "                  functions, opening a saved list, the title bar (no\n"
         "                  catalog, its file name or its full path), the tray,\n"
         "                  grid lines and font.\n"
         "Security          the password of the open catalog (off without one).\n"
         "Search            the fields searched, OR or AND between patterns,\n"
         "                  automatic asterisks and the advanced date format.\n"
         "Compressed Files  whether ZIP, CAB, RAR, ACE, 7Z, TAR, compressed TAR\n"
         "                  (.tar.gz, .tar.bz2, .tar.xz, .tar.zst) and ISO entries\n"
         "                  are stored and searched, in which fields, and their\n"
         "                  columns.\n"
         "Misc              the end-of-scan sound, the file count estimate before\n"
         "                  a scan and Include Used Space in Disc List.\n"
         "\n"
         "Apply uses the changes at once; OK applies and closes; settings are\n"
         "written to Kest.ini in the program folder (~/.local/share/kest)."},
        {"Discs",
         "Kest calls every medium a \"Disc\": a CD, DVD or Blu-ray, a USB stick, a\n"
         "memory card, an external disk, a floppy, or any mounted folder chosen in\n"
         "the drive box. File, Scan Folder... scans one folder of a volume as that\n"
         "volume; File, Scan Disc Image... scans the disc an ISO or UDF image holds,\n"
         "read without mounting it. Each scan adds one disc with its label, serial number and\n"
         "file system; a disc with the same serial can be replaced. Optical drives\n"
         "are /dev/sr devices; the others are listed by their mount points."},
        {"Disc Facts",
         "Beside what a scan reads, Kest keeps facts of its own about each disc:\n"
         "when it was catalogued (and scanned again), the volume's size and free\n"
         "space then, where it is kept, tags, to whom it is lent, since when and\n"
         "until when, and notes. Edit them in Disc Details, \"Kept by Kest\".\n"
         "\n"
         "Tags:        separated by commas; a tag holding a comma goes in double\n"
         "             quotes (\"Rock, Pop\", Jazz).\n"
         "Lending:     an empty \"Lent to\" means the disc is back; \"Lent on\"\n"
         "             left empty is today. Tools, Lent Discs lists the lent\n"
         "             discs, OVERDUE past their due day.\n"
         "Disc list:   Options, Results adds columns (location, tags, lending,\n"
         "             dates, space); the box above the list keeps the discs\n"
         "             whose cells or facts hold its text.\n"
         "Mounting:    a volume mounted while Kest runs is looked up by its\n"
         "             serial; Options, General can scan unknown discs at once.\n"
         "Duplicates:  Tools, Find Duplicates lists files kept more than once\n"
         "             (same name and size, or the same content when scans read\n"
         "             content hashes: Options, General), largest waste first,\n"
         "             or the files on one of the chosen discs only (\"3,7-9\").\n"
         "             Enter shows a listed file's details; its pop-up menu\n"
         "             shows it in the disc's folder tree."},
        {"Pop-up Menus",
         "Right-click a list for its pop-up menu.\n"
         "\n"
         "Disc list:     Disc Details..., Disc Contents, Database Contents,\n"
         "               Delete Disc..., Multiple Disc Delete...,\n"
         "               Save Disc List As (plain text or CSV).\n"
         "Results list:  File Details..., Open File..., Open Folder...,\n"
         "               Explore Folder..., Multiple File Description Update...,\n"
         "               Save Results List As (plain text or CSV).\n"
         "\n"
         "Opening a file or folder first checks that the right disc is in the\n"
         "chosen drive (serial number and label)."},
        {"Date Formats",
         "Dates are shown with the format of Options, Results and typed with the\n"
         "format of Options, Search (default mm/dd/yy hh:nn:ss AMPM):\n"
         "\n"
         "  d dd      day             m mm      month (mmm Sep, mmmm September)\n"
         "  yy yyyy   year            h hh      hour\n"
         "  n nn      minute          s ss      second\n"
         "  AMPM      12-hour clock with AM or PM\n"
         "\n"
         "Predefined names: General Date, Long Date, Medium Date, Short Date,\n"
         "Long Time, Medium Time, Short Time.\n"
         "Example: September 18, 1999 2:32:21 PM with dd/mm/yyyy hh:nn is\n"
         "18/09/1999 14:32."},
        {"Attributes",
         "The Attributes column shows letters in the order R H S A:\n"
         "\n"
         "  R  read-only    H  hidden    S  system    A  archive\n"
         "\n"
         "FAT, exFAT and NTFS discs keep these attributes and Kest reads them.\n"
         "On other file systems R means the owner cannot write the file and H\n"
         "means its name starts with a dot."},
    };
    return topics;
}

}  // namespace kest::update
