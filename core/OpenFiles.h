#pragma once
// Files opened by number. Every file the program opens for reading or writing is held in this
// table while it is open, so that shutdown and the log check can close all of them.

#include <cstdio>
#include <string>

class NumberedFile {
public:
    enum class Mode { Read, Write, Append };

    // Opens path as file number `number` (raw bytes). Raises error 55 when the number is in
    // use, and the platform's failure mapped to its error number (53, 52, 70, 75, 76).
    NumberedFile(int number, const std::string& path, Mode mode);
    ~NumberedFile();
    NumberedFile(const NumberedFile&) = delete;
    NumberedFile& operator=(const NumberedFile&) = delete;

    // Null after the file was closed (by Close or by CloseAllFiles).
    std::FILE* Stream() const;
    int Number() const { return number_; }
    // Writes all bytes; raises error 61 (disk full) or 57 when the write fails.
    void Write(const std::string& bytes);
    // Closes the file; raises error 61 when buffered data could not be written.
    void Close();

private:
    int number_;
    unsigned long long id_ = 0;
};

// Closes every file opened by number.
void CloseAllFiles();
// Number of files currently open.
int OpenFileCount();
// Whether a file number is in use.
bool FileNumberInUse(int number);

// Maps the failure of the last C library file call to the error number the handler knows.
int FileErrorNumber(int cErrno);
