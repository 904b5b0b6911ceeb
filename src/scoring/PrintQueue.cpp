#include "scoring/PrintQueue.h"

#include <cups/cups.h>

namespace {

// What kept the server from answering the last request, if anything.
PrintQueue::Outcome lastRequestOutcome(bool answered) {
    const ipp_status_t status = cupsLastError();
    if (status == IPP_STATUS_ERROR_NOT_FOUND)
        return PrintQueue::Outcome::NoSuchQueue;
    return answered && status < IPP_STATUS_ERROR_BAD_REQUEST ? PrintQueue::Outcome::Sent
                                                             : PrintQueue::Outcome::ServerUnreachable;
}

// Every job of this user on the queue that the server still knows, whatever its state.
struct UserJobs {
    cups_job_t *jobs = nullptr;
    int count;
    explicit UserJobs(const QByteArray &queue)
        : count(cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL)) {}
    ~UserJobs() { cupsFreeJobs(qMax(count, 0), jobs); }
    const cups_job_t *begin() const { return jobs; }
    const cups_job_t *end() const { return jobs + qMax(count, 0); }
};

} // namespace

PrintQueue::PrintQueue(const QString &printerName) : m_queue(printerName.section(QLatin1Char('/'), 0, 0).toUtf8()) {}

PrintQueue::Outcome PrintQueue::checkBeforeSending() {
    ipp_t *request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     m_queue.constData());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    static const char *const wanted[] = {"printer-is-accepting-jobs", "printer-state-message"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    ipp_t *printer = cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/");
    Outcome outcome = lastRequestOutcome(printer);
    m_serverMessage = QString::fromUtf8(cupsLastErrorString());
    ipp_attribute_t *accepting = ippFindAttribute(printer, "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    if (outcome == Outcome::Sent && (!accepting || !ippGetBoolean(accepting, 0))) {
        if (ipp_attribute_t *reason = ippFindAttribute(printer, "printer-state-message", IPP_TAG_TEXT))
            m_serverMessage = QString::fromUtf8(ippGetString(reason, 0, nullptr));
        outcome = Outcome::NotAccepting;
    }
    ippDelete(printer);
    if (outcome != Outcome::Sent)
        return outcome;
    const UserJobs before(m_queue);
    m_serverMessage = QString::fromUtf8(cupsLastErrorString());
    m_lastJobBefore = 0;
    for (const cups_job_t &job : before)
        m_lastJobBefore = qMax(m_lastJobBefore, job.id);
    return lastRequestOutcome(before.count >= 0);
}

PrintQueue::Outcome PrintQueue::checkSentJob(const QString &title) {
    const UserJobs after(m_queue);
    m_serverMessage = QString::fromUtf8(cupsLastErrorString());
    if (const Outcome answered = lastRequestOutcome(after.count >= 0); answered != Outcome::Sent)
        return answered;
    // The job sent: the newest of that title.
    const cups_job_t *sent = nullptr;
    for (const cups_job_t &job : after)
        if (job.id > m_lastJobBefore && QString::fromUtf8(job.title) == title && (!sent || job.id > sent->id))
            sent = &job;
    if (!sent) {
        m_serverMessage = QStringLiteral("no job \"%1\" after job %2").arg(title).arg(m_lastJobBefore);
        return Outcome::JobRefused;
    }
    if (sent->state == IPP_JSTATE_CANCELED || sent->state == IPP_JSTATE_ABORTED) {
        m_serverMessage = QStringLiteral("job %1 ended in state %2").arg(sent->id).arg(sent->state);
        return Outcome::JobFailed;
    }
    return Outcome::Sent;
}

QString PrintQueue::notPrintedText(Outcome outcome) {
    QString reason;
    switch (outcome) {
    case Outcome::ServerUnreachable:
        reason = QStringLiteral("سرويس چاپ در دسترس نيست");
        break;
    case Outcome::NoSuchQueue:
        reason = QStringLiteral("چاپگر انتخاب شده پيدا نشد");
        break;
    case Outcome::NotAccepting:
    case Outcome::JobRefused:
        reason = QStringLiteral("چاپگر کار چاپ نمي پذيرد");
        break;
    case Outcome::JobFailed:
        reason = QStringLiteral("کار چاپ لغو شد");
        break;
    case Outcome::Sent:
    case Outcome::NotPainted:
        break;
    }
    return QStringLiteral("گزارش چاپ نشد") + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) +
           QStringLiteral("\nمي توانيد دوباره چاپ کنيد يا PDF ذخيره کنيد");
}
