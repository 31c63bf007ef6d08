#include "gamefiles/system_error_texts.h"

namespace tovarin {

std::string SystemErrorText(int code) {
    switch (code) {
        case 2:
            return "The system cannot find the file specified";
        case 3:
            return "The system cannot find the path specified";
        case 4:
            return "The system cannot open the file";
        case 5:
            return "Access is denied";
        case 32:
            return "The process cannot access the file because it is being used by another process";
        case 100:
            return "Cannot create another system semaphore";
        case 101:
            return "The exclusive semaphore is owned by another process";
        case 106:
            return "Insert the diskette for drive %1";
        case 112:
            return "There is not enough space on the disk";
        case 131:
            return "An attempt was made to move the file pointer before the beginning of the file";
        default:
            return "Unknown error " + std::to_string(code);
    }
}

}  // namespace tovarin
