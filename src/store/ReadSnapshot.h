#pragma once

// Reads that belong together (an examinee's answer row, then the examinee's row) see the file in
// one state, under one lock taken once: without it every read locks and unlocks the file anew,
// which costs more than a look-up by code. Ends at destruction or at end(); end it before anything
// that waits for the user, so that no lock stays on the file meanwhile. Inside a transaction it
// does nothing: that already holds the file.
class ReadSnapshot {
public:
    ReadSnapshot();
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot &) = delete;
    ReadSnapshot &operator=(const ReadSnapshot &) = delete;

    void end();

private:
    bool m_begun = false;
};
