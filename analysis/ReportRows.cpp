// The list rows of the reports and how they are kept.
#include <cstdint>
#include <limits>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/Report.h"

namespace DUVAnalyse {

namespace {

// A sub-item's length as written before its text.
void AppendLength(std::string& out, std::size_t length) {
    for (; length >= 0x80; length >>= 7)
        out.push_back(static_cast<char>(0x80 | (length & 0x7F)));
    out.push_back(static_cast<char>(length));
}

// The sub-item written at pos: its text; pos moves past it.
std::string_view NextCell(std::string_view cells, std::size_t& pos) {
    std::size_t length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(cells[pos++]);
        length |= static_cast<std::size_t>(byte & 0x7F) << shift;
        if (byte < 0x80)
            break;
    }
    const std::string_view text = cells.substr(pos, length);
    pos += length;
    return text;
}

}  // namespace

void ReportRow::Set(std::size_t n, std::string_view text) {
    if (n == 0)
        return;
    if (n > count_) {
        if (n > count_ + 1)
            cells_.append(n - count_ - 1, '\0');  // empty sub-items up to n
        AppendLength(cells_, text.size());
        cells_.append(text);
        count_ = n;
        return;
    }
    std::size_t pos = 0;
    for (std::size_t index = 1; index < n; ++index)
        NextCell(cells_, pos);
    const std::size_t start = pos;
    NextCell(cells_, pos);
    std::string cell;
    AppendLength(cell, text.size());
    cell.append(text);
    cells_.replace(start, pos - start, cell);
}

std::string_view ReportRow::Get(std::size_t n) const {
    std::size_t pos = 0;
    for (std::size_t index = 1; pos < cells_.size(); ++index) {
        const std::string_view cell = NextCell(cells_, pos);
        if (index == n)
            return cell;
    }
    return {};
}

std::vector<std::string> ReportRow::SubItems() const {
    std::vector<std::string> items;
    for (std::size_t pos = 0; pos < cells_.size();)
        items.emplace_back(NextCell(cells_, pos));
    return items;
}

void ReportRows::push_back(const ReportRow& row) {
    if (data_.size() > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("ReportRows::push_back");
    starts_.push_back(static_cast<std::uint32_t>(data_.size()));
    AppendLength(data_, row.Text.size());
    data_ += row.Text;
    data_ += row.cells_;
}

void ReportRows::reserve(std::size_t rows, std::size_t bytes) {
    starts_.reserve(rows);
    data_.reserve(bytes);
}

ReportRow ReportRows::operator[](std::size_t i) const {
    const std::size_t end = i + 1 < starts_.size() ? starts_[i + 1] : data_.size();
    std::size_t pos = starts_[i];
    ReportRow row;
    row.Text = NextCell(data_, pos);
    row.cells_.assign(data_, pos, end - pos);
    for (pos = 0; pos < row.cells_.size(); ++row.count_)
        NextCell(row.cells_, pos);
    return row;
}

ReportRow ReportRows::at(std::size_t i) const {
    if (i >= size())
        throw std::out_of_range("ReportRows::at");
    return (*this)[i];
}

}  // namespace DUVAnalyse
