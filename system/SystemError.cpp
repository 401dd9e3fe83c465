#include "system/SystemError.h"

#include <cerrno>
#include <cstring>

namespace sys {
namespace {

const char* spanishSentence(int errorNumber)
{
    switch (errorNumber) {
    case ENOSPC:
        return "No queda espacio libre en el disco";
    case EDQUOT:
        return "Se ha llenado el espacio de disco que tiene el usuario";
    case EACCES:
    case EPERM:
        return "No hay permiso para usar ese archivo o esa carpeta";
    case EROFS:
        return "El disco o la carpeta solo se puede leer, no escribir";
    case ENOENT:
        return "El archivo o la carpeta no existe";
    case EFBIG:
        return "El archivo sería demasiado grande";
    case EIO:
        return "El disco no se pudo leer o escribir";
    default:
        return nullptr;
    }
}

} // namespace

std::string describeSystemError(int errorNumber)
{
    const char* name = ::strerrorname_np(errorNumber);
    const std::string code = name ? name : "errno " + std::to_string(errorNumber);
    if (const char* sentence = spanishSentence(errorNumber))
        return std::string(sentence) + " (" + code + ")";
    return "Error del sistema (" + code + ": " + std::strerror(errorNumber) + ")";
}

} // namespace sys
