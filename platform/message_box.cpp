#include "platform/message_box.h"

#include "platform/file_io.h"
#include "platform/stderr_message_sink.h"

namespace sif {

namespace {

StderrMessageSink g_defaultSink;
MessageBoxSink* g_sink = &g_defaultSink;

}  // namespace

MessageBoxSink* SetMessageBoxSink(MessageBoxSink* sink) {
    MessageBoxSink* previous = g_sink == &g_defaultSink ? nullptr : g_sink;
    g_sink = sink != nullptr ? sink : &g_defaultSink;
    return previous;
}

bool MessageBoxesGather() {
    return g_sink->Gathers();
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
    FlushAllFiles();
    return g_sink->Show(owner, text, caption, type);
}

}  // namespace sif
