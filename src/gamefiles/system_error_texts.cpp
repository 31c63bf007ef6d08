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
        case 17:
            return "The system cannot move the file to a different disk drive";
        case 19:
            return "The media is write protected";
        case 21:
            return "The device is not ready";
        case 29:
            return "The system cannot write to the specified device";
        case 30:
            return "The system cannot read from the specified device";
        case 32:
            return "The process cannot access the file because it is being used by another process";
        case 80:
            return "The file exists";
        case 87:
            return "The parameter is incorrect";
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
        case 206:
            return "The filename or extension is too long";
        case 1117:
            return "The request could not be performed because of an I/O device error";
        case 1921:
            return "The name of the file cannot be resolved by the system";
        default:
            return "Unknown error " + std::to_string(code);
    }
}

}  // namespace tovarin
