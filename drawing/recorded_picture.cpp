#include "recorded_picture.h"

#include <algorithm>

void RecordedPicture::Clear() {
    printed_.clear();
    x_ = y_ = 0;
    normalSize_ = fontSize_;
    Changed();
}

void RecordedPicture::Print(TextView text) {
    printed_.push_back({Text(text), x_, y_, fontSize_});
    x_ += Width(text);
    Changed();
}

std::size_t RecordedPicture::VisibleCount(double visibleTwips) const {
    const auto beyond = std::find_if(printed_.begin(), printed_.end(),
                                     [visibleTwips](const PrintedText& drawn) { return drawn.X > visibleTwips; });
    return static_cast<std::size_t>(beyond - printed_.begin());
}

double RecordedPicture::Width(TextView text) {
    if (text.size() != 1 || text[0] >= 128) return width_(text, fontSize_);
    auto sized = std::find_if(widths_.begin(), widths_.end(),
                              [this](const SizedWidths& widths) { return widths.points == fontSize_; });
    if (sized == widths_.end()) {
        if (widths_.size() > 8) widths_.clear();
        widths_.push_back({fontSize_, {}});
        widths_.back().ascii.fill(-1);
        sized = widths_.end() - 1;
    }
    double& width = sized->ascii[text[0]];
    if (width < 0) width = width_(text, fontSize_);
    return width;
}
