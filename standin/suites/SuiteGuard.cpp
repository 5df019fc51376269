#include "SuiteGuard.h"

#include "SuiteContext.h"

#include <cstdio>
#include <thread>

namespace standin {

CallScope::CallScope(const char* suite, int32_t version, int slot, const char* function)
    : context_(SuiteContext::current()), suite_(suite), version_(version), slot_(slot), function_(function)
{
}

CallScope::~CallScope()
{
    if (logged_ && context_)
        context_->inCall = false;
}

bool CallScope::admit(ArgumentText arguments)
{
    if (!context_) {
        std::fprintf(stderr, "standin: %s (%s v%d slot %d) called with no host session\n", function_, suite_,
                     int(version_), slot_);
        result_ = A_Err_GENERIC;
        return false;
    }
    arguments_ = arguments;
    ticket_ = context_->log.begin(suite_, version_, slot_, function_, context_->undo.depth());
    if (context_->log.keepsEverything())
        if (CallRecord* r = context_->log.record(ticket_))
            r->arguments = arguments_();
    logged_ = true;
    context_->callTicket = ticket_;
    context_->inCall = true;
    context_->callMutates = false;

    if (std::this_thread::get_id() != context_->mainThread) {
        std::fprintf(stderr, "standin: %s called from a thread other than the host's main thread\n", function_);
        noteCall("refused: not the main thread");
        result_ = finish(A_Err_GENERIC, false);
        return false;
    }
    if (A_Err injected = context_->faults.check(suite_, version_, slot_)) {
        if (CallRecord* r = context_->log.record(ticket_))
            r->injected = true;
        noteCall("injected failure");
        result_ = finish(injected, false);
        return false;
    }
    return true;
}

A_Err CallScope::finish(A_Err err, bool mutation)
{
    if (!logged_)
        return err;
    if (err == STANDIN_ERR_NOT_IMPLEMENTED)
        std::fprintf(stderr, "standin: *** slot %d of \"%s\" version %d is not implemented ***\n", slot_, suite_,
                     int(version_));
    if (err != A_Err_NONE && !context_->log.keepsEverything())
        if (CallRecord* r = context_->log.record(ticket_))
            r->arguments = arguments_();
    context_->log.finish(ticket_, err);
    if ((mutation || context_->callMutates) && err == A_Err_NONE) {
        if (!context_->log.keepsEverything()) {
            context_->undo.countMutation();
        } else if (const CallRecord* r = context_->log.record(ticket_)) {
            std::string text = r->function + "(" + r->arguments + ")";
            if (!r->detail.empty())
                text += " " + r->detail;
            context_->undo.recordMutation(text);
        }
    }
    return err;
}

void markCallAsMutation()
{
    if (SuiteContext* context = SuiteContext::current(); context && context->inCall)
        context->callMutates = true;
}

bool callNotesKept()
{
    SuiteContext* context = SuiteContext::current();
    return context && context->inCall && context->log.keepsEverything();
}

void noteCall(const std::string& text)
{
    SuiteContext* context = SuiteContext::current();
    if (!context || !context->inCall)
        return;
    if (CallRecord* r = context->log.record(context->callTicket)) {
        if (!r->detail.empty())
            r->detail += "; ";
        r->detail += text;
    }
}

} // namespace standin
