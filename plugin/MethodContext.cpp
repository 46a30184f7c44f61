#include "plugin/MethodContext.h"

namespace OZKPELLMOR {

MethodContext::MethodContext(ScriptObject& object, HostCallRecord& call)
    : object_(object), call_(call) {
    object_.activeMovie = nullptr;
}

MethodContext::~MethodContext() {
    if (object_.activeMovie) {
        object_.activeMovie->Release();
        object_.activeMovie = nullptr;
    }
}

const HostValue* MethodContext::Arg(int32_t index) const {
    if (!HasArg(index) || !call_.args)
        return nullptr;
    return &call_.args[index];
}

int32_t MethodContext::ArgType(int32_t index) const {
    const HostValue* value = Arg(index);
    if (!value || !object_.values)
        return HostTypeVoid;
    return object_.values->ValueType(value);
}

bool MethodContext::ReadInteger(int32_t index, int32_t& out) const {
    out = 0;
    const HostValue* value = Arg(index);
    if (!value || !object_.values)
        return false;
    int32_t number = 0;
    if (object_.values->ValueToInteger(value, &number) != HostOk)
        return false;
    out = number;
    return true;
}

bool MethodContext::ReadSymbol(int32_t index, HostSymbol& out) const {
    out = 0;
    if (!ArgIs(index, HostTypeSymbol))
        return false;
    HostSymbol symbol = 0;
    if (object_.values->ValueToSymbol(Arg(index), &symbol) != HostOk)
        return false;
    out = symbol;
    return true;
}

bool MethodContext::ReadString(int32_t index, char* buffer, int32_t size) const {
    if (!buffer || size <= 0)
        return false;
    buffer[0] = '\0';
    if (!ArgIs(index, HostTypeString))
        return false;
    const bool ok = object_.values->ValueToString(Arg(index), buffer, size) == HostOk;
    buffer[size - 1] = '\0';
    if (!ok)
        buffer[0] = '\0';
    return ok;
}

bool MethodContext::ReadPoint(int32_t index, HostPoint& out) const {
    out = {};
    if (!ArgIs(index, HostTypePoint))
        return false;
    HostPoint point{};
    if (object_.values->ValueToPoint(Arg(index), &point) != HostOk)
        return false;
    out = point;
    return true;
}

bool MethodContext::ReadRect(int32_t index, HostRect& out) const {
    out = {};
    if (!ArgIs(index, HostTypeRect))
        return false;
    HostRect rect{};
    if (object_.values->ValueToRect(Arg(index), &rect) != HostOk)
        return false;
    out = rect;
    return true;
}

bool MethodContext::ReadListCount(int32_t index, int32_t& count) const {
    count = 0;
    if (!ArgIs(index, HostTypeList) || !object_.lists)
        return false;
    count = object_.lists->ListCount(Arg(index));
    if (count < 0)
        count = 0;
    return true;
}

bool MethodContext::ListItemType(int32_t index, int32_t item, int32_t& type) const {
    type = HostTypeVoid;
    if (!ArgIs(index, HostTypeList) || !object_.lists)
        return false;
    HostValue value{};
    if (object_.lists->ListItem(Arg(index), item, &value) != HostOk)
        return false;
    type = object_.values->ValueType(&value);
    object_.values->ReleaseValue(&value);
    return true;
}

bool MethodContext::ReadListPoint(int32_t index, int32_t item, HostPoint& out) const {
    out = {};
    if (!ArgIs(index, HostTypeList) || !object_.lists)
        return false;
    HostValue value{};
    if (object_.lists->ListItem(Arg(index), item, &value) != HostOk)
        return false;
    HostPoint point{};
    const bool ok = object_.values->ValueType(&value) == HostTypePoint &&
                    object_.values->ValueToPoint(&value, &point) == HostOk;
    object_.values->ReleaseValue(&value);
    if (ok)
        out = point;
    return ok;
}

void MethodContext::SetIntegerResult(int32_t number) {
    if (object_.values)
        object_.values->IntegerToValue(number, &call_.result);
}

void MethodContext::SetSymbolResult(HostSymbol symbol) {
    if (object_.values)
        object_.values->SymbolToValue(symbol, &call_.result);
}

void MethodContext::SetStringResult(const char* text) {
    if (object_.values)
        object_.values->StringToValue(text, &call_.result);
}

HostResult MethodContext::Fail(HostResult result, int32_t lastError) {
    object_.lastError = lastError;
    return result;
}

HostResult MethodContext::SucceedClearingError() {
    object_.lastError = ErrNone;
    return ResultSuccess;
}

IHostMovie* MethodContext::ActiveMovie() {
    if (!movieFetched_) {
        movieFetched_ = true;
        IHostMovie* movie = nullptr;
        if (object_.player && object_.player->ActiveMovie(&movie) == HostOk)
            object_.activeMovie = movie;
    }
    return object_.activeMovie;
}

bool MethodContext::MovieWindow(HWND& window) {
    window = nullptr;
    IHostMovie* movie = ActiveMovie();
    if (!movie)
        return false;
    IHostStageWindow* stage = nullptr;
    if (movie->StageWindow(&stage) != HostOk || !stage)
        return false;
    HostWindowRef ref{};
    const bool ok = stage->GetWindow(&ref) == HostOk && ref.kind == 1 && ref.handle;
    stage->Release();
    if (!ok)
        return false;
    window = static_cast<HWND>(ref.handle);
    return true;
}

bool MethodContext::HostHandles(HINSTANCE& instance, HWND& mainWindow) {
    instance = nullptr;
    mainWindow = nullptr;
    if (!object_.windowHandles)
        return false;
    HINSTANCE hostInstance = nullptr;
    HWND hostWindow = nullptr;
    if (object_.windowHandles->GetHandles(&hostInstance, &hostWindow) != HostOk)
        return false;
    instance = hostInstance;
    mainWindow = hostWindow;
    return true;
}

}  // namespace OZKPELLMOR
