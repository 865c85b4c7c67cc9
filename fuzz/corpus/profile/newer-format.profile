quorvel-profile 2
end
