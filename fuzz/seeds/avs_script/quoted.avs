DirectShowSource("/media/My "best" (clip).rm", fps=29.9700898503294, convertfps=true)
